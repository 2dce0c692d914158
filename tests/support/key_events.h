// tests/support/key_events.h — keys put on SDL's event queue, as a keyboard would.
#pragma once

namespace testing_support {

enum class Key { Space, Period, Left, Right, PageUp, PageDown, Home, Tab, Escape };

// Queues the key going down.
void PushKey(Key key);

}  // namespace testing_support
