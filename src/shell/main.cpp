#include "shell/startup.h"

int main() { return gameMain(); }
