// libFuzzer entry: every input must satisfy checkIniEngine (see checks/FuzzChecks.h).
#include "fuzz/checks/FuzzChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = ravik::fuzz::checkIniEngine(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!broken.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
