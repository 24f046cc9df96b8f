#include "input/platform.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    if (int status = platformErrorBoxProcess(argc, argv); status >= 0)
        return status;
    return gameMain(std::vector<std::string>(argv + 1, argv + argc));
}
