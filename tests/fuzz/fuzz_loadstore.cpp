// libFuzzer entry: any bytes as the store's file. A broken rule is a crash, so that libFuzzer keeps the input.

#include "LoadStoreFuzz.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = LoadStoreFromBytes(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "nudgepost: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
