#pragma once
// Records every message call and shows it as the module would.
#include "host/services/services.h"

namespace testing_support {

// Installs the recorder (once); the harness does it before every call.
void RecordMessages();
// The last message call made since the recorder was installed.
const Mensagemvlx::Chamada& LastMessage();

}  // namespace testing_support
