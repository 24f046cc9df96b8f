#include "shell/process_state.h"

ProcessState Process;
