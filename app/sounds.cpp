#include "app/sounds.h"

#include "app/state.h"
#include "resource.h"

namespace {

// SND_NODEFAULT is left out on purpose: a missing sound falls back to the
// system's default sound rather than silence.
void playCue(int resourceId) {
    PlaySoundA(MAKEINTRESOURCEA(resourceId), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

}  // namespace

void playwav1() { playCue(IDW_CLICK); }
void playwav2() { playCue(IDW_MINIMISE); }
void playwav3() { playCue(IDW_HIT); }
void playwav4() { playCue(IDW_MISS); }
void playwav5() { playCue(IDW_NEW_PUZZLE); }
void playwav6() { playCue(IDW_CONSOLE); }
void playwav7() { playCue(IDW_WIN); }
void playwav8() { playCue(IDW_LOSS); }

bool SoundsOn() { return (audioset & 1) == 0; }
