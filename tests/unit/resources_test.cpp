// The resources of Marivane.exe, read from its resource script compiled to a
// binary .res file, checked against the resource catalogue and against the
// controls that show the pictures.
#include "app/controls.h"
#include "game/drawing.h"
#include "game_session.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

unsigned le16(const std::string& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) throw std::out_of_range("field past the end");
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return le16(bytes, at) | static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16;
}

std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// A NUL-terminated UTF-16 string of ASCII characters; `at` moves past the terminator.
std::string readUtf16(const std::string& bytes, std::size_t& at) {
    std::string text;
    for (; le16(bytes, at) != 0; at += 2) text += static_cast<char>(le16(bytes, at));
    at += 2;
    return text;
}

// A resource type or name: 0xFFFF and a number, given as "#number", or a string.
std::string readName(const std::string& bytes, std::size_t& at) {
    if (le16(bytes, at) != 0xFFFF) return readUtf16(bytes, at);
    at += 4;
    return "#" + std::to_string(le16(bytes, at - 2));
}

std::string Numbered(int id) { return "#" + std::to_string(id); }

const std::string kBitmap = Numbered(2), kIcon = Numbered(3), kGroupIcon = Numbered(14), kVersion = Numbered(16);
const std::string kWave = "WAVE";

struct Resource {
    std::string type, name;
    unsigned language;
    std::string data;
};

// A .res file is a row of 32-bit aligned records: DataSize, HeaderSize, TYPE,
// NAME, DataVersion, MemoryFlags, LanguageId, Version, Characteristics, then
// the data. The first record is an empty marker and is left out.
std::vector<Resource> ReadResFile(const std::string& bytes) {
    std::vector<Resource> resources;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::uint32_t dataSize = le32(bytes, at), headerSize = le32(bytes, at + 4);
        if (at + headerSize + dataSize > bytes.size()) throw std::out_of_range("resource data past the end");
        std::size_t field = at + 8;
        Resource resource;
        resource.type = readName(bytes, field);
        resource.name = readName(bytes, field);
        resource.language = le16(bytes, align4(field) + 6);
        resource.data = bytes.substr(at + headerSize, dataSize);
        if (at > 0 || dataSize > 0) resources.push_back(resource);
        at = align4(at + headerSize + dataSize);
    }
    return resources;
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
    if (at == std::string::npos) throw std::runtime_error("no version block " + key);
    return record.substr(align4(at + Utf16(key).size()), length);
}

using Size = std::pair<int, int>;  // width, height

// The size of a DIB (a BITMAPINFOHEADER first); its height is negative when it is stored top-down.
Size SizeOf(const std::string& dib) {
    return {static_cast<std::int32_t>(le32(dib, 4)), std::abs(static_cast<std::int32_t>(le32(dib, 8)))};
}

// Each button's normal face with its size; the pressed face is the id 50 on, of the same size.
const std::pair<int, Size> kFaces[] = {
    {2700, {102, 25}}, {2850, {102, 25}}, {3000, {102, 23}}, {3150, {102, 24}}, {3300, {80, 23}}, {3450, {93, 23}},
    {3600, {93, 23}},  {3750, {93, 23}},  {3900, {24, 18}},  {4050, {24, 19}},  {4200, {24, 19}}, {4800, {116, 23}},
    {4950, {49, 23}},  {5100, {65, 23}},  {5400, {116, 23}}, {5850, {42, 23}},  {5750, {72, 23}},
};

// Letter widths A..Z; every letter is 20 pixels high but Q, which is 21.
const int kLetterWidths[] = {18, 16, 18, 17, 16, 15, 19, 16, 9,  12, 17, 13, 18,
                             16, 20, 16, 20, 17, 17, 17, 16, 18, 26, 18, 19, 17};

std::map<int, Size> CataloguedBitmaps() {
    std::map<int, Size> bitmaps{{48, {900, 620}}, {100, {900, 106}}, {6050, {90, 90}}};
    for (int n = 0; n < static_cast<int>(std::size(kLetterWidths)); ++n)
        bitmaps[130 + 60 * n] = {kLetterWidths[n], n == 'Q' - 'A' ? 21 : 20};
    for (int id = 2000; id <= 2300; id += 50) bitmaps[id] = {119, 182};
    for (const auto& [normal, size] : kFaces) bitmaps[normal] = bitmaps[normal + 50] = size;
    bitmaps[4250] = {24, 18};  // but the close button's pressed face, a row short
    return bitmaps;
}

const struct CataloguedSound {
    int id;
    unsigned rate, bits;
    int centiseconds;
    unsigned exactDataBytes;  // 0: only the duration is given
} kSounds[] = {
    {4450, 22050, 16, 3, 1362}, {4500, 8000, 8, 28, 0},  {4600, 22050, 8, 61, 0},   {4650, 22050, 8, 68, 0},
    {4700, 22050, 16, 206, 0},  {5600, 22050, 8, 28, 0}, {5650, 22050, 16, 208, 0}, {5700, 22050, 16, 331, 0},
};

// The offset of a RIFF chunk's header, or npos.
std::size_t ChunkAt(const std::string& riff, const std::string& id) {
    for (std::size_t at = 12; at + 8 <= riff.size(); at += 8 + ((le32(riff, at + 4) + 1) & ~1u))
        if (riff.compare(at, 4, id) == 0) return at;
    return std::string::npos;
}

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef MARIVANE_RES_FILE
        std::ifstream in(MARIVANE_RES_FILE, std::ios::binary);
        resources_ = ReadResFile(std::string(std::istreambuf_iterator<char>(in), {}));
#endif
    }

    void SetUp() override {
#ifndef MARIVANE_RES_FILE
        GTEST_SKIP() << "x86_64-w64-mingw32-windres was not found, so the resource script was not compiled";
#endif
        ASSERT_FALSE(resources_.empty());
    }

    static const std::string& data(const std::string& type, int id) {
        for (const Resource& resource : resources_)
            if (resource.type == type && resource.name == Numbered(id)) return resource.data;
        throw std::runtime_error("no resource " + type + " " + std::to_string(id));
    }

    static std::vector<Resource> resources_;
};

std::vector<Resource> Resources::resources_;

TEST_F(Resources, HoldExactlyTheCataloguedOnesAllInEnglishCanada) {
    std::map<std::string, std::set<std::string>> expected{
        {kGroupIcon, {Numbered(IDI_MARIVANE), Numbered(IDI_MARIVANE_SMALL)}}, {kVersion, {Numbered(1)}}};
    for (const auto& bitmap : CataloguedBitmaps()) expected[kBitmap].insert(Numbered(bitmap.first));
    for (const CataloguedSound& sound : kSounds) expected[kWave].insert(Numbered(sound.id));
    ASSERT_EQ(expected[kBitmap].size(), 70u);

    std::map<std::string, std::set<std::string>> found;
    for (const Resource& resource : resources_) {
        EXPECT_EQ(resource.language, 0x1009u) << resource.type << ' ' << resource.name;
        EXPECT_TRUE(found[resource.type].insert(resource.name).second) << resource.type << ' ' << resource.name;
    }
    // The icon images are numbered by the resource compiler.
    EXPECT_EQ(found[kIcon].size(), 2u);
    found.erase(kIcon);
    EXPECT_EQ(found, expected);
}

TEST_F(Resources, BitmapsAreUncompressed24BitDibsOfTheirCataloguedSize) {
    for (const auto& [id, size] : CataloguedBitmaps()) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const std::string& dib = data(kBitmap, id);
        EXPECT_EQ(std::make_tuple(le32(dib, 0), le16(dib, 12), le16(dib, 14), le32(dib, 16)),
                  std::make_tuple(40u, 1u, 24u, 0u))
            << "BITMAPINFOHEADER, planes, bits per pixel, BI_RGB";
        EXPECT_EQ(SizeOf(dib), size);
        EXPECT_EQ(dib.size(), 40 + align4(size.first * 3u) * size.second) << "rows of pixels, no colour table";
    }
}

TEST_F(Resources, SoundsAreMonoPcmWavesOfTheCataloguedFormatAndLength) {
    for (const CataloguedSound& sound : kSounds) {
        SCOPED_TRACE("sound " + std::to_string(sound.id));
        const std::string& riff = data(kWave, sound.id);
        EXPECT_EQ(riff.substr(0, 4) + riff.substr(8, 4), "RIFFWAVE");
        EXPECT_EQ(le32(riff, 4) + 8u, riff.size()) << "RIFF length";
        const std::size_t format = ChunkAt(riff, "fmt "), samples = ChunkAt(riff, "data");
        ASSERT_NE(format, std::string::npos);
        ASSERT_NE(samples, std::string::npos);
        const unsigned bytesPerSample = sound.bits / 8;
        EXPECT_EQ(std::make_tuple(le16(riff, format + 8), le16(riff, format + 10), le32(riff, format + 12),
                                  le32(riff, format + 16), le16(riff, format + 20), le16(riff, format + 22)),
                  std::make_tuple(1u, 1u, sound.rate, sound.rate * bytesPerSample, bytesPerSample, sound.bits))
            << "PCM, mono, rate, byte rate, block align, bits per sample";
        const std::uint32_t dataBytes = le32(riff, samples + 4);
        EXPECT_EQ(std::lround(100.0 * dataBytes / (sound.rate * bytesPerSample)), sound.centiseconds);
        if (sound.exactDataBytes) {
            EXPECT_EQ(dataBytes, sound.exactDataBytes);
        }
    }
}

TEST_F(Resources, IconGroupsHoldOne256ColourImageOfTheirSize) {
    const std::pair<int, unsigned> groups[] = {{IDI_MARIVANE, 64}, {IDI_MARIVANE_SMALL, 32}};
    for (const auto& [group, side] : groups) {
        SCOPED_TRACE("icon group " + std::to_string(group));
        const std::string& directory = data(kGroupIcon, group);
        ASSERT_EQ(directory.size(), 6u + 14u) << "one entry";
        EXPECT_EQ(std::make_tuple(le16(directory, 2), le16(directory, 4), le16(directory, 6), directory[8],
                                  le16(directory, 12)),
                  std::make_tuple(1u, 1u, side * 0x101u, '\0', 8u))
            << "icon type, entries, width and height, colour count (0 stands for 256), bits per pixel";
        const std::string& image = data(kIcon, static_cast<int>(le16(directory, 18)));
        EXPECT_EQ(image.size(), le32(directory, 14)) << "image length";
        EXPECT_EQ(std::make_tuple(le32(image, 0), le16(image, 14)), std::make_tuple(40u, 8u))
            << "header, bits per pixel";
        EXPECT_EQ(SizeOf(image), Size(side, 2 * side)) << "colour and mask rows";
    }
}

TEST_F(Resources, VersionRecordNamesRelease1013OfAnApplicationInUsEnglish) {
    const std::string& record = data(kVersion, 1);
    const std::string fixed = ValueAfter(record, "VS_VERSION_INFO", 52);
    EXPECT_EQ(le32(fixed, 0), 0xFEEF04BDu) << "VS_FIXEDFILEINFO signature";
    for (std::size_t version : {8u, 16u}) {  // of the file, of the product
        EXPECT_EQ(le32(fixed, version), 0x00010000u) << "1.0 at " << version;
        EXPECT_EQ(le32(fixed, version + 4), 0x00010003u) << "1.3 at " << version;
    }
    EXPECT_EQ(le32(fixed, 36), 1u) << "file type VFT_APP";
    EXPECT_NE(record.find(Utf16("040904E4")), std::string::npos) << "US English strings, code page 1252";
    const std::pair<const char*, const char*> texts[] = {{"FileVersion", "2014 [1013]"},
                                                         {"InternalName", "Marivane"},
                                                         {"ProductName", "Marivane"},
                                                         {"ProductVersion", "Initial Release"},
                                                         {"LegalTrademarks", ""}};
    for (const auto& [key, text] : texts) EXPECT_EQ(ValueAfter(record, key, Utf16(text).size()), Utf16(text)) << key;
    EXPECT_EQ(ValueAfter(record, "Translation", 4), std::string("\x09\x04\xE4\x04", 4)) << "0x409, code page 1252";
}

// The program is started headless so that its own start-up attaches the pictures.
TEST_F(Resources, EveryFaceAndPictureHasExactlyTheSizeOfItsControl) {
    TempFolder folder;
    StartFreshProcess(folder);
    ASSERT_NE(StartUpWithoutLoop(), nullptr);
    auto expectFits = [](int bitmap, HWND control) {
        EXPECT_EQ(SizeOf(data(kBitmap, bitmap)), Size(control->width, control->height))
            << "bitmap " << bitmap << " on control " << control->id;
    };
    for (int i = 0; i < kButtonFaceCount; ++i) {
        const ButtonFace& face = kButtonFaces[i];
        expectFits(face.normalBitmap, ControlById(face.buttonId));
        if (face.buttonId != IDC_CLOSE) expectFits(face.pressedBitmap, ControlById(face.buttonId));
    }
    int pictures = 0;
    for (int i = 0; i < kControlCount; ++i) {
        const HWND control = *kControls[i].handle;
        if (control->image == nullptr) continue;
        ++pictures;
        expectFits(control->image->resourceId, control);
    }
    EXPECT_EQ(pictures, 26 + 7 + 1) << "letters, balloon pictures and the sad clown";
}

}  // namespace
