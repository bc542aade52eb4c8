// Any bytes through the application's reader; whatever it accepts must survive
// a write and a second read unchanged, and its transcription must repeat the
// written file after its own first line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/reader.h"
#include "config/writer.h"

namespace {

class NoBoxes final : public orvano::MessageSink {
  public:
    void Show(const std::string&, const std::string&) override {}
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_config_reader: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NoBoxes boxes;
    orvano::StringTraceSink console;
    orvano::ConfigTables tables;
    orvano::CurrentPlace place;
    tables.Verbose = 1;
    std::string echo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int result = orvano::ReadDataCfgBytes(bytes, tables, place, &echo, boxes, &console);
    if (result < 0 || result > 6 || result == orvano::kReadOpenError ||
        result == orvano::kReadEchoOpenError) {
        Fail("result out of range");
    }
    if (tables.NumberOfTowns >= 1 &&
        tables.Towns.size() != static_cast<size_t>(tables.NumberOfTowns)) {
        Fail("town table and NumberOfTowns disagree");
    }
    if (result != orvano::kReadOk) return 0;
    const double latitude = place.latitude.value();
    const double longitude = place.longitude.value();
    if (!(latitude >= -90 && latitude <= 90) || !(longitude >= -180 && longitude <= 180) ||
        place.Convention < 0 || place.Convention > 8) {
        Fail("place outside the ranges the engine works with");
    }

    if (!orvano::TablesProblem(tables).empty()) Fail("the writer refuses what the reader accepted");
    const std::string written = orvano::DataCfgText(tables, boxes);
    orvano::ConfigTables again;
    orvano::CurrentPlace placeAgain;
    std::string echoAgain;
    if (orvano::ReadDataCfgBytes(written, again, placeAgain, &echoAgain, boxes, nullptr) !=
        orvano::kReadOk) {
        Fail("written file does not read back");
    }
    if (orvano::DataCfgText(again, boxes) != written) Fail("second write differs");
    if (echoAgain != std::string(orvano::kEchoTitleLine) + written) {
        Fail("transcription does not repeat the written file");
    }
    return 0;
}
