#include "data/startup_file.h"

void OnLoads() {}
void OnExits() {}
