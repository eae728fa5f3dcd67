#pragma once
// FontWarmUp: the first text Qt draws makes fontconfig read its configuration, some forty XML
// files: most of the first call's first frame. This reads it on another thread while Qt's
// platform starts and the window is made, and waits for that thread when dropped (before the
// first paint, within the call: no thread outlives it); Qt then finds the configuration read.
// The same configuration, read earlier: the same pictures.
#include <thread>

namespace host::qt {

class FontWarmUp {
public:
    FontWarmUp();

private:
    std::jthread reader_;  // joined when dropped
};

}  // namespace host::qt
