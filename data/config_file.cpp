#include "data/config_file.h"

void Userchoice() {}
