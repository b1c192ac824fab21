// The settings file reader on any file: the settings read stay within their
// ranges, and writing them back and reading that again loses nothing.
#include <cstddef>
#include <cstdint>

#include "FuzzCheck.h"
#include "SettingsFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const SettingsFolder folder;
    folder.put(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    SettingsRead first = folder.read();
    requireSettingsInRange(first);
    require(folder.write(first.state), "the settings read can be written");
    const SettingsRead again = folder.read();
    require(again.log.entries.isEmpty(), "a file the panel wrote reads without failure");
    requireSameSettings(first.state, again.state);
    return 0;
}
