// Fault injection: every platform call that can fail consults this table, so tests can make the
// N+1-th call of a kind fail and watch the engine's failure paths. The sdl backend never sets a
// fault; the headless backend and the tests do.
#pragma once

enum PLAT_CALL {
  CALL_STARTUP,
  CALL_REGISTER_CLASS,
  CALL_CREATE_WINDOW,
  CALL_SET_MODE,
  CALL_CREATE_PRIMARY,
  CALL_GET_BACK_BUFFER,
  CALL_SURFACE_CREATE,
  CALL_SURFACE_LOCK,
  CALL_SURFACE_BLT,
  CALL_CLIPPER_CREATE,
  CALL_CLIPPER_SET_LIST,
  CALL_SET_CLIPPER,
  CALL_PALETTE_CREATE,
  CALL_SET_PALETTE,
  CALL_FLIP,
  CALL_TEXT,
  CALL_INPUT_CREATE,
  CALL_KEYBOARD_CREATE,
  CALL_KEYBOARD_COOPERATIVE,
  CALL_KEYBOARD_FORMAT,
  CALL_KEYBOARD_ACQUIRE,
  CALL_KEYBOARD_STATE,
  CALL_SOUND_DEVICE,
  CALL_SOUND_BUFFER,
  CALL_MUSIC_SYNTH,
  CALL_MUSIC_LOAD,
  CALL_PAD_START,
  CALL_COUNT
};

// Lets the first `succeed_first` calls of this kind (counted from now) succeed and fails every
// one after; a negative value removes the fault.
void plat_fault_set(PLAT_CALL call, int succeed_first);
void plat_fault_clear_all();

// For platform code: counts one call of this kind and says whether it must fail (1) or not (0).
int plat_fault(PLAT_CALL call);
