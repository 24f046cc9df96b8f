#include "shell/startup.h"

int main(int argc, char** argv) { return gameMain(std::vector<std::string>(argv + 1, argv + argc)); }
