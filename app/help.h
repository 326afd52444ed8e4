// The help button: opens the compiled help file through the shell.
#pragma once

// Returns true when the request was refused because the help viewer is
// already open; the window procedure then ends the command at once.
bool HelpRequest();
void loadHelp();
