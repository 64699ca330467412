// The library's start-up. Nothing of it runs under the loader lock: the steps run once, on the
// first call that needs them (an export or DllGetClassObject), in this order.
#pragma once

namespace kv {

// Runs the start-up steps the first time; later calls return at once. A step that fails
// raises, and the next call tries again.
void StartLibraryOnce();

} // namespace kv
