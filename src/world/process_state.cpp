#include "world/process_state.h"

ProcessState Process;
