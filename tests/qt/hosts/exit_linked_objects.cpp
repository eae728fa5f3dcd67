// A program that links the module's objects, as the benchmarks do, rather than loading the
// library: calls on Qt's offscreen screen, each on a screen of its own (the window of the first
// goes with it, the second's is kept), then main returns. Its statics and Qt's end in the order
// this shape gives them. Prints "ok" and exits 0 when both calls worked and nothing crashed.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "entry/entry.h"
#include "host/forms/application.h"
#include "host/screens/qt/qt_screen.h"
#include "host/variant/variant.h"

int main()
{
    const char* typical[] = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N"};
    std::vector<host::Variant> params;
    for (const char* value : typical)
        params.emplace_back(std::string_view(value));
    setenv("TZC_INPUT", "52998224725{Enter}MARIA{Enter}RUA A 1{Enter}", 1);
    for (int call = 0; call < 2; ++call) {
        host::Application().SetScreen(host::MakeQtScreen(true));
        host::Variant result = host::Variant::Array(0, 7);
        Cli_Tzc04182::CriaInfAdicional(params.data(), static_cast<int>(params.size()) - 1, result);
        if (result.Element(1).ToString() != "MARIA") {
            std::printf("error: call %d gave the name \"%s\"\n", call + 1, result.Element(1).ToString().c_str());
            return 1;
        }
    }
    std::printf("ok\n");
    return 0;
}
