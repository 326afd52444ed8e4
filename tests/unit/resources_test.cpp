// The resources of Marivane.exe, read from its resource script compiled to a
// binary .res file, checked against the resource catalogue.
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

namespace {

#ifdef MARIVANE_RES_FILE

std::uint32_t le(const std::string& bytes, std::size_t at, int width = 2) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

// Consecutive little-endian fields of the given widths from `at`, as "a b c".
std::string Fields(const std::string& bytes, std::size_t at, std::initializer_list<int> widths) {
    std::string text;
    for (int width : widths) text += (text.empty() ? "" : " ") + std::to_string(le(bytes, at, width)), at += width;
    return text;
}

std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// A resource type or name: 0xFFFF and a number, given as "#number", or a NUL-terminated UTF-16 string.
std::string readName(const std::string& bytes, std::size_t& at) {
    if (le(bytes, at) == 0xFFFF) return "#" + std::to_string(le(bytes, (at += 4) - 2));
    std::string text;
    for (; le(bytes, at) != 0; at += 2) text += static_cast<char>(le(bytes, at));
    return at += 2, text;
}

// "TYPE NAME LANGUAGE" -> data. A .res file is a row of 32-bit aligned records: DataSize, HeaderSize,
// TYPE, NAME, DataVersion, MemoryFlags, LanguageId, ..., then the data; the first is an empty marker.
std::map<std::string, std::string> ReadResFile() {
    std::ifstream in(MARIVANE_RES_FILE, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::map<std::string, std::string> resources;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::uint32_t dataSize = le(bytes, at, 4), headerSize = le(bytes, at + 4, 4);
        std::size_t field = at + 8;
        const std::string type = readName(bytes, field), name = readName(bytes, field);
        const std::string key = type + ' ' + name + ' ' + std::to_string(le(bytes, align4(field) + 6));
        if (at > 0 || dataSize > 0) resources[key] = bytes.substr(at + headerSize, dataSize);
        at = align4(at + headerSize + dataSize);
    }
    return resources;
}

const std::map<std::string, std::string> kResources = ReadResFile();
const std::string kBitmap = "#2", kIcon = "#3", kGroupIcon = "#14", kVersion = "#16", kWave = "WAVE";

// A resource in English (Canada), 0x1009.
const std::string& Data(const std::string& type, int id) {
    return kResources.at(type + " #" + std::to_string(id) + " 4105");
}

// Every catalogued id is looked up by the tests below; here nothing else is there.
TEST(Resources, HoldOnlyTheCataloguedOnes) {
    std::map<std::string, int> counts;
    for (const auto& [key, data] : kResources) ++counts[key.substr(0, key.find(' '))];
    const std::map<std::string, int> catalogued{{kBitmap, 70}, {kWave, 8}, {kIcon, 2}, {kGroupIcon, 2}, {kVersion, 1}};
    EXPECT_EQ(counts, catalogued);
}

TEST(Resources, BitmapsAreUncompressed24BitDibsOfTheirCataloguedSize) {
    using Size = std::pair<unsigned, unsigned>;  // width, height
    // Each button's normal face with its size; the pressed face is the id 50 on, of the same size.
    const std::pair<int, Size> faces[] = {
        {2700, {102, 25}}, {2850, {102, 25}}, {3000, {102, 23}}, {3150, {102, 24}}, {3300, {80, 23}},
        {3450, {93, 23}},  {3600, {93, 23}},  {3750, {93, 23}},  {3900, {24, 18}},  {4050, {24, 19}},
        {4200, {24, 19}},  {4800, {116, 23}}, {4950, {49, 23}},  {5100, {65, 23}},  {5400, {116, 23}},
        {5850, {42, 23}},  {5750, {72, 23}}};
    // Letter widths A..Z; every letter is 20 pixels high but Q, which is 21.
    const unsigned letterWidths[] = {18, 16, 18, 17, 16, 15, 19, 16, 9,  12, 17, 13, 18,
                                     16, 20, 16, 20, 17, 17, 17, 16, 18, 26, 18, 19, 17};
    std::map<int, Size> bitmaps{{48, {900, 620}}, {100, {900, 106}}, {6050, {90, 90}}};
    for (int n = 0; n < 26; ++n) bitmaps[130 + 60 * n] = {letterWidths[n], n == 'Q' - 'A' ? 21 : 20};
    for (int id = 2000; id <= 2300; id += 50) bitmaps[id] = {119, 182};
    for (const auto& [normal, size] : faces) bitmaps[normal] = bitmaps[normal + 50] = size;
    bitmaps[4250] = {24, 18};  // but the close button's pressed face, a row short
    for (const auto& [id, size] : bitmaps) {
        const std::string& dib = Data(kBitmap, id);
        const std::string width = std::to_string(size.first), height = std::to_string(size.second);
        // BITMAPINFOHEADER, width, height (bottom-up), planes, bits per pixel, BI_RGB; rows, no colour table
        EXPECT_EQ(Fields(dib, 0, {4, 4, 4, 2, 2, 4}), "40 " + width + " " + height + " 1 24 0") << id;
        EXPECT_EQ(dib.size(), 40 + align4(size.first * 3) * size.second) << id;
    }
}

TEST(Resources, SoundsAreMonoPcmWavesOfTheCataloguedFormatAndLength) {
    // Each sound's id, format (PCM, mono, rate, byte rate, block align, bits per sample) and length
    const std::tuple<int, const char*, unsigned> sounds[] = {
        {4450, "1 1 22050 44100 2 16", 3},   {4500, "1 1 8000 8000 1 8", 28},    {4600, "1 1 22050 22050 1 8", 61},
        {4650, "1 1 22050 22050 1 8", 68},   {4700, "1 1 22050 44100 2 16", 206}, {5600, "1 1 22050 22050 1 8", 28},
        {5650, "1 1 22050 44100 2 16", 208}, {5700, "1 1 22050 44100 2 16", 331}};
    for (const auto& [id, format, centiseconds] : sounds) {
        SCOPED_TRACE("sound " + std::to_string(id));
        const std::string& riff = Data(kWave, id);
        EXPECT_EQ(riff.substr(0, 4) + riff.substr(8, 4) + Fields(riff, 4, {4}),
                  "RIFFWAVE" + std::to_string(riff.size() - 8));
        const std::size_t fmt = riff.find("fmt ", 12) + 8, dataBytes = le(riff, riff.find("data", 12) + 4, 4);
        EXPECT_EQ(Fields(riff, fmt, {2, 2, 4, 4, 2, 2}), format);
        EXPECT_EQ((200 * dataBytes / le(riff, fmt + 8, 4) + 1) / 2, centiseconds) << "hundredths of a second";
        EXPECT_TRUE(id != IDW_CLICK || dataBytes == 1362) << dataBytes;
    }
}

TEST(Resources, IconGroupsHoldOne256ColourImageOfTheirSize) {
    for (const auto& [group, side] : {std::pair{IDI_MARIVANE, 64}, std::pair{IDI_MARIVANE_SMALL, 32}}) {
        const std::string& directory = Data(kGroupIcon, group);
        const std::string size = std::to_string(side);
        // icon type, one entry: width, height, colour count (0 stands for 256), reserved, planes, bits per pixel
        EXPECT_EQ(Fields(directory, 2, {2, 2, 1, 1, 1, 1, 2, 2}), "1 1 " + size + " " + size + " 0 0 1 8");
        const std::string& image = Data(kIcon, static_cast<int>(le(directory, 18)));
        // image length; header, width, height of colour and mask rows, planes, bits per pixel
        EXPECT_EQ(image.size(), le(directory, 14, 4));
        EXPECT_EQ(Fields(image, 0, {4, 4, 4, 2, 2}), "40 " + size + " " + std::to_string(2 * side) + " 1 8");
    }
}

std::string Utf16(const std::string& text) {
    std::string wide;
    for (char c : text) wide += std::string{c, '\0'};
    return wide + std::string(2, '\0');
}

// The `length` bytes of value that follow `key` in a version record: each
// block holds its key as NUL-terminated UTF-16, then its value 32-bit aligned.
std::string ValueAfter(const std::string& record, const std::string& key, std::size_t length) {
    const std::size_t at = record.find(Utf16(key));
    return at == std::string::npos ? "no " + key : record.substr(align4(at + Utf16(key).size()), length);
}

TEST(Resources, VersionRecordNamesRelease1013OfAnApplicationInUsEnglish) {
    const std::string& record = Data(kVersion, 1);
    const std::string fixed = ValueAfter(record, "VS_VERSION_INFO", 52);
    // File and product version 1.0.1.3 (each 32-bit half low word first), then file type VFT_APP.
    EXPECT_EQ(Fields(fixed, 8, {2, 2, 2, 2, 2, 2, 2, 2}) + ", " + Fields(fixed, 36, {4}), "0 1 3 1 0 1 3 1, 1");
    EXPECT_NE(record.find(Utf16("040904E4")), std::string::npos) << "US English strings, code page 1252";
    const std::pair<const char*, const char*> texts[] = {
        {"FileVersion", "2014 [1013]"}, {"InternalName", "Marivane"}, {"ProductName", "Marivane"},
        {"ProductVersion", "Initial Release"}, {"LegalTrademarks", ""}};
    for (const auto& [key, text] : texts) EXPECT_EQ(ValueAfter(record, key, Utf16(text).size()), Utf16(text)) << key;
    EXPECT_EQ(Fields(ValueAfter(record, "Translation", 4), 0, {2, 2}), "1033 1252") << "0x409, code page 1252";
}

#else
TEST(Resources, NeedTheCompiledResourceScript) { GTEST_SKIP() << "x86_64-w64-mingw32-windres was not found"; }
#endif

}  // namespace
