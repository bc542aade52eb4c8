// Shared pieces of the configuration tests.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/reader.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"

namespace orvano::testing {

// The configuration's tests name the shared double's records boxes.
using Box = RecordingMessageSink::Shown;
using RecordingBoxes = RecordingMessageSink;

// The written formats themselves, as the oracle for the line layouts.
__attribute__((format(printf, 1, 2))) inline std::string Printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// The record lines as those formats write them.
inline std::string HeaderLine(int towns, int selected, int verbose) {
    return Printf("1 %-13d  %-12d  %-7d\n", towns, selected, verbose);
}
inline std::string TownLine(const std::string& country, const std::string& name, double lat,
                            double lon, int zone, int dst, int convention) {
    return Printf("2 %-15s  %-15s  %-10lf  %-10lf  %-7d  %-2d  %-2d\n", country.c_str(),
                  name.c_str(), lat, lon, zone, dst, convention);
}
inline std::string ParamsLine(int i, int shafii, double fajr, double isha, double sunset,
                              int ishaPlus, int minutes, int zuhrFixe, double zuhrHour) {
    return Printf("3 %-9d  %-14d  %-16g  %-16g  %-15g  %-19d  %-4d  %-7d  %-15.7f\n", i, shafii,
                  fajr, isha, sunset, ishaPlus, minutes, zuhrFixe, zuhrHour);
}
inline std::string MinutesLine(int i, const std::array<double, 6>& m) {
    return Printf("4 %-9d  %-7g  %-7g  %-7g  %-7g  %-7g  %-7g\n", i, m[0], m[1], m[2], m[3], m[4],
                  m[5]);
}
inline std::string NameLine(int i, const std::string& name) {
    return Printf("5 %-9d \"%s\"\n", i, name.c_str());
}

inline std::string TestData(const std::string& name) {
    return std::string(ORVANO_TEST_DATA) + "/" + name;
}

// One read over bytes, with everything it reports kept for the checks.
struct Read {
    ConfigTables tables;
    CurrentPlace place;
    std::string echo;
    RecordingBoxes boxes;
    StringTraceSink console;
    int result = -1;

    Read() = default;
    explicit Read(const std::string& bytes) { Run(bytes); }
    int Run(const std::string& bytes) {
        echo.clear();
        result = ReadDataCfgBytes(bytes, tables, place, &echo, boxes, &console);
        return result;
    }
    // The transcription without its own title line.
    std::string EchoBody() const {
        EXPECT_EQ(echo.rfind(kEchoTitleLine, 0), 0u);
        return echo.substr(std::string(kEchoTitleLine).size());
    }
};

// The same read from data.cfg in a fresh folder, with the reason of an open error.
struct FileRead : Read {
    TempFolder folder;
    const std::string path = folder / "data.cfg";
    std::string reason;

    int RunFile(const std::string& echoPath) {
        result = ReadDataCfg(path, echoPath, tables, place, boxes, &console, &reason);
        return result;
    }
};

}  // namespace orvano::testing
