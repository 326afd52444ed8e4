// The configuration file that can lock the puzzle console.
#pragma once

void Userchoice();
