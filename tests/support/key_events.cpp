// tests/support/key_events.cpp — SDL key-down events for the player's tests.
#include "support/key_events.h"

#include <SDL.h>

namespace testing_support {

void PushKey(Key key) {
    static const SDL_Keycode codes[] = {SDLK_SPACE, SDLK_PERIOD,   SDLK_LEFT, SDLK_RIGHT, SDLK_PAGEUP,
                                        SDLK_PAGEDOWN, SDLK_HOME, SDLK_TAB, SDLK_ESCAPE};
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = codes[static_cast<int>(key)];
    SDL_PushEvent(&event);
}

}  // namespace testing_support
