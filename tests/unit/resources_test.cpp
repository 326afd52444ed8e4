// The resources of Marivane.exe, read from the resource script compiled to a
// binary .res file (the same script the executable is linked with), checked
// against the resource catalogue, and against the control and button-face
// tables so that every picture fits the control that shows it.
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
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- .res reader

const int kTypeIcon = 3;
const int kTypeBitmap = 2;
const int kTypeGroupIcon = 14;
const int kTypeVersion = 16;
const char kTypeWave[] = "WAVE";
const int kEnglishCanada = 0x1009;

// A resource type or name: a number, or a string when ordinal is -1.
struct ResourceName {
    int ordinal = -1;
    std::string text;
    bool operator<(const ResourceName& other) const {
        return ordinal != other.ordinal ? ordinal < other.ordinal : text < other.text;
    }
    bool operator==(const ResourceName& other) const { return ordinal == other.ordinal && text == other.text; }
};

std::ostream& operator<<(std::ostream& out, const ResourceName& name) {
    return name.ordinal >= 0 ? out << name.ordinal : out << '"' << name.text << '"';
}

ResourceName Numbered(int ordinal) { return {ordinal, ""}; }
ResourceName Named(const std::string& text) { return {-1, text}; }

struct Resource {
    ResourceName type, name;
    int language = 0;
    std::string data;
};

unsigned le16(const std::string& bytes, std::size_t at) {
    if (at + 2 > bytes.size()) throw std::out_of_range("16-bit field past the end");
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return le16(bytes, at) | static_cast<std::uint32_t>(le16(bytes, at + 2)) << 16;
}

std::int32_t signed32(const std::string& bytes, std::size_t at) { return static_cast<std::int32_t>(le32(bytes, at)); }

std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// A NUL-terminated UTF-16 string of ASCII characters starting at `at`;
// `at` is moved past the terminator.
std::string readUtf16(const std::string& bytes, std::size_t& at) {
    std::string text;
    for (unsigned c = le16(bytes, at); c != 0; c = le16(bytes, at)) {
        text += static_cast<char>(c < 0x80 ? c : '?');
        at += 2;
    }
    at += 2;
    return text;
}

// 0xFFFF followed by a number, or a string.
ResourceName readName(const std::string& bytes, std::size_t& at) {
    if (le16(bytes, at) == 0xFFFF) {
        at += 4;
        return Numbered(static_cast<int>(le16(bytes, at - 2)));
    }
    return Named(readUtf16(bytes, at));
}

// A .res file is a row of 32-bit aligned records: DataSize, HeaderSize, TYPE,
// NAME, DataVersion, MemoryFlags, LanguageId, Version, Characteristics, then
// the data. The first record is an empty marker and is left out.
std::vector<Resource> ReadResFile(const std::string& bytes) {
    std::vector<Resource> resources;
    for (std::size_t at = 0; at < bytes.size();) {
        std::uint32_t dataSize = le32(bytes, at);
        std::uint32_t headerSize = le32(bytes, at + 4);
        std::size_t field = at + 8;
        Resource resource;
        resource.type = readName(bytes, field);
        resource.name = readName(bytes, field);
        field = align4(field);
        resource.language = static_cast<int>(le16(bytes, field + 6));
        if (at + headerSize + dataSize > bytes.size()) throw std::out_of_range("resource data past the end");
        resource.data = bytes.substr(at + headerSize, dataSize);
        bool emptyMarker = at == 0 && dataSize == 0 && resource.type == Numbered(0);
        if (!emptyMarker) resources.push_back(resource);
        at = align4(at + headerSize + dataSize);
    }
    return resources;
}

// ------------------------------------------------------------ version record

// One block of a version record: wLength, wValueLength, wType, szKey, the
// value (text when wType is 1, counted in characters) and the child blocks,
// each part 32-bit aligned.
struct VersionBlock {
    std::string key;
    bool isText = false;
    std::string value;
    std::vector<VersionBlock> children;
};

VersionBlock ReadVersionBlock(const std::string& bytes, std::size_t at) {
    const std::size_t end = at + le16(bytes, at);
    const unsigned valueLength = le16(bytes, at + 2);
    VersionBlock block;
    block.isText = le16(bytes, at + 4) == 1;
    std::size_t field = at + 6;
    block.key = readUtf16(bytes, field);
    field = align4(field);
    const std::size_t valueBytes = block.isText ? valueLength * 2u : valueLength;
    block.value = bytes.substr(field, valueBytes);
    for (field = align4(field + valueBytes); field < end; field = align4(field + le16(bytes, field)))
        block.children.push_back(ReadVersionBlock(bytes, field));
    return block;
}

// The text of a string value, without its terminator.
std::string StringValue(const VersionBlock& block) {
    std::string text;
    for (std::size_t at = 0; at + 1 < block.value.size() && le16(block.value, at) != 0; at += 2)
        text += static_cast<char>(le16(block.value, at));
    return text;
}

const VersionBlock* ChildNamed(const VersionBlock& block, const std::string& key) {
    for (const VersionBlock& child : block.children)
        if (child.key == key) return &child;
    return nullptr;
}

// ---------------------------------------------------------------- catalogue

struct Size {
    int width, height;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
};

std::ostream& operator<<(std::ostream& out, const Size& size) { return out << size.width << 'x' << size.height; }

struct CataloguedFace {
    int button, normal, pressed;
    Size normalSize, pressedSize;
};

const CataloguedFace kCataloguedFaces[] = {
    {2800, 2700, 2750, {102, 25}, {102, 25}}, {2950, 2850, 2900, {102, 25}, {102, 25}},
    {3100, 3000, 3050, {102, 23}, {102, 23}}, {3250, 3150, 3200, {102, 24}, {102, 24}},
    {3400, 3300, 3350, {80, 23}, {80, 23}},   {3550, 3450, 3500, {93, 23}, {93, 23}},
    {3700, 3600, 3650, {93, 23}, {93, 23}},   {3850, 3750, 3800, {93, 23}, {93, 23}},
    {4000, 3900, 3950, {24, 18}, {24, 18}},   {4150, 4050, 4100, {24, 19}, {24, 19}},
    {4300, 4200, 4250, {24, 19}, {24, 18}},   {4900, 4800, 4850, {116, 23}, {116, 23}},
    {5050, 4950, 5000, {49, 23}, {49, 23}},   {5350, 5100, 5150, {65, 23}, {65, 23}},
    {5200, 5400, 5450, {116, 23}, {116, 23}}, {5950, 5850, 5900, {42, 23}, {42, 23}},
    {6000, 5750, 5800, {72, 23}, {72, 23}},
};

// Letter widths A..Z; every letter is 20 pixels high but Q, which is 21.
const int kLetterWidths[] = {18, 16, 18, 17, 16, 15, 19, 16, 9,  12, 17, 13, 18,
                             16, 20, 16, 20, 17, 17, 17, 16, 18, 26, 18, 19, 17};

// Every bitmap of the catalogue with its size.
std::map<int, Size> CataloguedBitmaps() {
    std::map<int, Size> bitmaps{{48, {900, 620}}, {100, {900, 106}}, {6050, {90, 90}}};
    for (int n = 0; n < static_cast<int>(std::size(kLetterWidths)); ++n)
        bitmaps[130 + 60 * n] = {kLetterWidths[n], n == 'Q' - 'A' ? 21 : 20};
    for (int id = 2000; id <= 2300; id += 50) bitmaps[id] = {119, 182};
    for (const CataloguedFace& face : kCataloguedFaces) {
        bitmaps[face.normal] = face.normalSize;
        bitmaps[face.pressed] = face.pressedSize;
    }
    return bitmaps;
}

struct CataloguedSound {
    int id;
    unsigned rate, bits;
    int centiseconds;
    unsigned exactDataBytes;  // 0: only the duration is given
};

const CataloguedSound kCataloguedSounds[] = {
    {4450, 22050, 16, 3, 1362}, {4500, 8000, 8, 28, 0},    {4600, 22050, 8, 61, 0},  {4650, 22050, 8, 68, 0},
    {4700, 22050, 16, 206, 0},  {5600, 22050, 8, 28, 0},   {5650, 22050, 16, 208, 0}, {5700, 22050, 16, 331, 0},
};

// ------------------------------------------------------------------ fixture

const Resource* ResourceOf(const std::vector<Resource>& resources, const ResourceName& type, int id) {
    for (const Resource& resource : resources)
        if (resource.type == type && resource.name == Numbered(id)) return &resource;
    return nullptr;
}

std::set<int> IdsOfType(const std::vector<Resource>& resources, const ResourceName& type) {
    std::set<int> ids;
    for (const Resource& resource : resources)
        if (resource.type == type) ids.insert(resource.name.ordinal);
    return ids;
}

// The width and height of a bitmap resource (a DIB without file header).
Size BitmapSize(const Resource& bitmap) {
    return {signed32(bitmap.data, 4), std::abs(signed32(bitmap.data, 8))};
}

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
#ifdef MARIVANE_RES_FILE
        std::ifstream in(MARIVANE_RES_FILE, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        resources_ = ReadResFile(bytes.str());
#endif
    }

    void SetUp() override {
#ifndef MARIVANE_RES_FILE
        GTEST_SKIP() << "x86_64-w64-mingw32-windres was not found, so the resource script was not compiled";
#else
        ASSERT_FALSE(resources_.empty()) << "no resources read from " << MARIVANE_RES_FILE;
#endif
    }

    static const std::vector<Resource>& all() { return resources_; }

    static const Resource& bitmap(int id) {
        const Resource* found = ResourceOf(resources_, Numbered(kTypeBitmap), id);
        if (!found) throw std::runtime_error("no bitmap " + std::to_string(id));
        return *found;
    }

    static std::vector<Resource> resources_;
};

std::vector<Resource> Resources::resources_;

// ------------------------------------------------------------------ inventory

TEST_F(Resources, HoldExactlyTheCataloguedIdsOfEachType) {
    std::set<int> bitmapIds;
    for (const auto& entry : CataloguedBitmaps()) bitmapIds.insert(entry.first);
    std::set<int> soundIds;
    for (const CataloguedSound& sound : kCataloguedSounds) soundIds.insert(sound.id);

    EXPECT_EQ(bitmapIds.size(), 70u);
    EXPECT_EQ(IdsOfType(all(), Numbered(kTypeBitmap)), bitmapIds);
    EXPECT_EQ(IdsOfType(all(), Named(kTypeWave)), soundIds);
    EXPECT_EQ(IdsOfType(all(), Numbered(kTypeGroupIcon)), (std::set<int>{IDI_MARIVANE, IDI_MARIVANE_SMALL}));
    EXPECT_EQ(IdsOfType(all(), Numbered(kTypeIcon)).size(), 2u);
    EXPECT_EQ(IdsOfType(all(), Numbered(kTypeVersion)), std::set<int>{1});

    std::map<ResourceName, int> perType;
    for (const Resource& resource : all()) ++perType[resource.type];
    EXPECT_EQ(perType.size(), 5u) << "a resource type outside the catalogue";
    EXPECT_EQ(all().size(), 70u + 8u + 2u + 2u + 1u) << "resources outside the catalogue, or one named twice";
}

TEST_F(Resources, AreAllEnglishCanada) {
    for (const Resource& resource : all())
        EXPECT_EQ(resource.language, kEnglishCanada) << "type " << resource.type << " name " << resource.name;
}

// ------------------------------------------------------------------ pictures

TEST_F(Resources, BitmapsAreUncompressed24BitDibsOfTheirCataloguedSize) {
    for (const auto& entry : CataloguedBitmaps()) {
        SCOPED_TRACE("bitmap " + std::to_string(entry.first));
        const std::string& dib = bitmap(entry.first).data;
        ASSERT_GE(dib.size(), 40u);
        EXPECT_EQ(le32(dib, 0), 40u) << "not a BITMAPINFOHEADER";
        EXPECT_EQ(BitmapSize(bitmap(entry.first)), entry.second);
        EXPECT_EQ(le16(dib, 12), 1u) << "planes";
        EXPECT_EQ(le16(dib, 14), 24u) << "bits per pixel";
        EXPECT_EQ(le32(dib, 16), 0u) << "compression is not BI_RGB";
        EXPECT_EQ(le32(dib, 32), 0u) << "a 24-bit picture has no colour table";
        const std::size_t rowBytes = align4(static_cast<std::size_t>(entry.second.width) * 3);
        EXPECT_EQ(dib.size(), 40 + rowBytes * static_cast<std::size_t>(entry.second.height)) << "pixel data length";
    }
}

// ------------------------------------------------------------------ sounds

struct WaveFormat {
    unsigned format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::size_t dataBytes = 0;
    bool hasFormat = false, hasData = false;
};

// Walks the chunks of a RIFF WAVE file for its "fmt " and "data" chunks.
WaveFormat ReadWave(const std::string& riff) {
    WaveFormat wave;
    for (std::size_t at = 12; at + 8 <= riff.size(); at += 8 + ((le32(riff, at + 4) + 1) & ~1u)) {
        const std::string id = riff.substr(at, 4);
        if (id == "fmt ") {
            wave.hasFormat = true;
            wave.format = le16(riff, at + 8);
            wave.channels = le16(riff, at + 10);
            wave.rate = le32(riff, at + 12);
            wave.byteRate = le32(riff, at + 16);
            wave.blockAlign = le16(riff, at + 20);
            wave.bits = le16(riff, at + 22);
        } else if (id == "data") {
            wave.hasData = true;
            wave.dataBytes = le32(riff, at + 4);
        }
    }
    return wave;
}

TEST_F(Resources, SoundsAreMonoPcmWavesOfTheCataloguedFormatAndLength) {
    for (const CataloguedSound& sound : kCataloguedSounds) {
        SCOPED_TRACE("sound " + std::to_string(sound.id));
        const Resource* resource = ResourceOf(all(), Named(kTypeWave), sound.id);
        ASSERT_NE(resource, nullptr);
        const std::string& riff = resource->data;
        ASSERT_GE(riff.size(), 12u);
        EXPECT_EQ(riff.substr(0, 4), "RIFF");
        EXPECT_EQ(riff.substr(8, 4), "WAVE");
        EXPECT_EQ(le32(riff, 4) + 8u, riff.size()) << "RIFF length";
        const WaveFormat wave = ReadWave(riff);
        ASSERT_TRUE(wave.hasFormat && wave.hasData);
        EXPECT_EQ(wave.format, 1u) << "not PCM";
        EXPECT_EQ(wave.channels, 1u);
        EXPECT_EQ(wave.rate, sound.rate);
        EXPECT_EQ(wave.bits, sound.bits);
        EXPECT_EQ(wave.blockAlign, sound.bits / 8);
        EXPECT_EQ(wave.byteRate, sound.rate * sound.bits / 8);
        const double seconds = static_cast<double>(wave.dataBytes) / (sound.rate * (sound.bits / 8));
        EXPECT_EQ(std::lround(seconds * 100), sound.centiseconds) << seconds << " s";
        if (sound.exactDataBytes) {
            EXPECT_EQ(wave.dataBytes, sound.exactDataBytes);
        }
    }
}

// ------------------------------------------------------------------ icons

TEST_F(Resources, IconGroupsHoldOne256ColourImageOfTheirSize) {
    const std::pair<int, int> groups[] = {{IDI_MARIVANE, 64}, {IDI_MARIVANE_SMALL, 32}};
    for (const auto& group : groups) {
        SCOPED_TRACE("icon group " + std::to_string(group.first));
        const Resource* directory = ResourceOf(all(), Numbered(kTypeGroupIcon), group.first);
        ASSERT_NE(directory, nullptr);
        const std::string& dir = directory->data;
        ASSERT_EQ(dir.size(), 6u + 14u) << "one directory entry";
        EXPECT_EQ(le16(dir, 0), 0u);
        EXPECT_EQ(le16(dir, 2), 1u) << "not an icon directory";
        EXPECT_EQ(le16(dir, 4), 1u) << "entries";
        EXPECT_EQ(static_cast<unsigned char>(dir[6]), group.second) << "width";
        EXPECT_EQ(static_cast<unsigned char>(dir[7]), group.second) << "height";
        EXPECT_EQ(dir[8], 0) << "colour count (0 stands for 256)";
        EXPECT_EQ(le16(dir, 12), 8u) << "bits per pixel";

        const Resource* image = ResourceOf(all(), Numbered(kTypeIcon), static_cast<int>(le16(dir, 18)));
        ASSERT_NE(image, nullptr) << "the entry's image is missing";
        EXPECT_EQ(image->data.size(), le32(dir, 14)) << "image length";
        ASSERT_GE(image->data.size(), 40u);
        EXPECT_EQ(le32(image->data, 0), 40u) << "not a BITMAPINFOHEADER";
        EXPECT_EQ(signed32(image->data, 4), group.second);
        EXPECT_EQ(signed32(image->data, 8), 2 * group.second) << "colour and mask rows";
        EXPECT_EQ(le16(image->data, 14), 8u) << "bits per pixel";
    }
}

// ------------------------------------------------------------ version record

class VersionRecord : public Resources {
protected:
    void SetUp() override {
        Resources::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const Resource* version = ResourceOf(all(), Numbered(kTypeVersion), 1);
        ASSERT_NE(version, nullptr);
        root_ = ReadVersionBlock(version->data, 0);
        ASSERT_EQ(root_.key, "VS_VERSION_INFO");
    }

    VersionBlock root_;
};

TEST_F(VersionRecord, FixedInfoNamesVersion1013OfAnApplication) {
    const std::string& fixed = root_.value;
    ASSERT_EQ(fixed.size(), 52u) << "VS_FIXEDFILEINFO";
    EXPECT_EQ(le32(fixed, 0), 0xFEEF04BDu) << "signature";
    EXPECT_EQ(le32(fixed, 8), 0x00010000u) << "file version, high";
    EXPECT_EQ(le32(fixed, 12), 0x00010003u) << "file version, low";
    EXPECT_EQ(le32(fixed, 16), 0x00010000u) << "product version, high";
    EXPECT_EQ(le32(fixed, 20), 0x00010003u) << "product version, low";
    EXPECT_EQ(le32(fixed, 36), 1u) << "file type VFT_APP";
}

TEST_F(VersionRecord, UsEnglishStringTableHoldsTheCataloguedTexts) {
    const VersionBlock* strings = ChildNamed(root_, "StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u) << "one string table";
    const VersionBlock& table = strings->children[0];
    EXPECT_EQ(table.key, "040904E4") << "US English, code page 1252";

    const std::pair<const char*, const char*> expected[] = {{"FileVersion", "2014 [1013]"},
                                                            {"InternalName", "Marivane"},
                                                            {"ProductName", "Marivane"},
                                                            {"ProductVersion", "Initial Release"},
                                                            {"LegalTrademarks", ""}};
    for (const auto& entry : expected) {
        const VersionBlock* value = ChildNamed(table, entry.first);
        ASSERT_NE(value, nullptr) << entry.first << " is missing";
        EXPECT_TRUE(value->isText) << entry.first;
        EXPECT_EQ(StringValue(*value), entry.second) << entry.first;
    }
}

TEST_F(VersionRecord, TranslationIsUsEnglishCodePage1252) {
    const VersionBlock* variables = ChildNamed(root_, "VarFileInfo");
    ASSERT_NE(variables, nullptr);
    const VersionBlock* translation = ChildNamed(*variables, "Translation");
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(translation->value.size(), 4u) << "one language and code page pair";
    EXPECT_EQ(le16(translation->value, 0), 0x0409u);
    EXPECT_EQ(le16(translation->value, 2), 1252u);
}

// ------------------------------------------- pictures against their controls

const ControlSpec& ControlWithId(int id) {
    for (int i = 0; i < kControlCount; ++i)
        if (kControls[i].id == id) return kControls[i];
    throw std::runtime_error("no control " + std::to_string(id));
}

TEST_F(Resources, DrawingTablePairsTheCataloguedFacesWithTheirButtons) {
    ASSERT_EQ(kButtonFaceCount, static_cast<int>(std::size(kCataloguedFaces)));
    for (const CataloguedFace& face : kCataloguedFaces) {
        int matches = 0;
        for (int i = 0; i < kButtonFaceCount; ++i)
            if (kButtonFaces[i].buttonId == face.button) {
                ++matches;
                EXPECT_EQ(kButtonFaces[i].normalBitmap, face.normal) << "button " << face.button;
                EXPECT_EQ(kButtonFaces[i].pressedBitmap, face.pressed) << "button " << face.button;
            }
        EXPECT_EQ(matches, 1) << "button " << face.button;
    }
}

TEST_F(Resources, EveryButtonFaceHasItsButtonsSize) {
    for (int i = 0; i < kButtonFaceCount; ++i) {
        const ButtonFace& face = kButtonFaces[i];
        SCOPED_TRACE("button " + std::to_string(face.buttonId));
        const ControlSpec& button = ControlWithId(face.buttonId);
        const Size buttonSize{button.width, button.height};
        EXPECT_EQ(BitmapSize(bitmap(face.normalBitmap)), buttonSize) << "normal face " << face.normalBitmap;
        // The close button's pressed face is one row short and is stretched.
        const Size pressed = BitmapSize(bitmap(face.pressedBitmap));
        const bool shortCloseFace = face.buttonId == IDC_CLOSE && pressed == Size{24, 18};
        if (!shortCloseFace) {
            EXPECT_EQ(pressed, buttonSize) << "pressed face " << face.pressedBitmap;
        }
    }
}

// Starts the program headless, so that the real start-up attaches the
// pictures, and checks each picture static's bitmap against its rectangle.
TEST_F(Resources, EveryPictureStaticShowsABitmapOfExactlyItsSize) {
    TempFolder folder;
    StartFreshProcess(folder);
    ASSERT_NE(StartUpWithoutLoop(), nullptr);
    const DWORD kStaticTypeMask = 0x1F;  // SS_TYPEMASK
    int pictures = 0;
    for (int i = 0; i < kControlCount; ++i) {
        const ControlSpec& control = kControls[i];
        if (std::string(control.className) != "STATIC" || (control.style & kStaticTypeMask) != SS_BITMAP) continue;
        ++pictures;
        SCOPED_TRACE("picture static " + std::to_string(control.id));
        HGDIOBJ image = (*control.handle)->image;
        ASSERT_NE(image, nullptr) << "no bitmap attached";
        EXPECT_EQ(BitmapSize(bitmap(image->resourceId)), (Size{control.width, control.height}))
            << "bitmap " << image->resourceId;
    }
    EXPECT_EQ(pictures, 26 + 7 + 1) << "letters, balloon pictures and the sad clown";
}

}  // namespace
