// Checks of the files in res/ that the resource compiler only copies: a
// slip in them shows only when the program runs, so they are read here.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/toolbar_layout.h"

namespace quorvel {
namespace {

std::string res_path(const char* name) {
    std::string here = __FILE__;  // .../tests/unit/resource_files_test.cpp
    return here.substr(0, here.rfind("tests/unit/")) + "res/" + name;
}

std::string read_file(const char* name) {
    std::ifstream in(res_path(name), std::ios::binary);
    EXPECT_TRUE(in) << res_path(name);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, int> defines() {
    std::map<std::string, int> values;
    std::istringstream header(read_file("resource.h"));
    const std::regex define(R"(#define\s+(\w+)\s+(\d+)\s*)");
    std::smatch m;
    for (std::string line; std::getline(header, line);)
        if (std::regex_match(line, m, define)) values[m[1]] = std::stoi(m[2]);
    return values;
}

struct ResourceScript {
    std::map<int, std::vector<std::string>> menu_texts;  // command -> item texts
    std::map<int, std::string> strings;                  // string id -> text
    std::map<int, std::string> bitmaps;                  // bitmap id -> file
};

ResourceScript parse_script() {
    const std::map<std::string, int> ids = defines();
    ResourceScript script;
    std::istringstream rc(read_file("quorvel.rc"));
    const std::regex item(R"re(\s*MENUITEM\s+"([^"]*)",\s*(\w+)\s*)re");
    const std::regex entry(R"re(\s*(\w+)\s+"([^"]*)"\s*)re");
    const std::regex bitmap(R"re((\w+)\s+BITMAP\s+"([^"]*)"\s*)re");
    bool in_strings = false;
    std::smatch m;
    for (std::string line; std::getline(rc, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("STRINGTABLE", 0) == 0) in_strings = true;
        if (in_strings && line == "END") in_strings = false;
        if (std::regex_match(line, m, bitmap)) {
            EXPECT_EQ(ids.count(m[1]), 1u) << m[1];
            if (ids.count(m[1])) script.bitmaps[ids.at(m[1])] = m[2];
        } else if (std::regex_match(line, m, item)) {
            EXPECT_EQ(ids.count(m[2]), 1u) << m[2];
            if (ids.count(m[2])) script.menu_texts[ids.at(m[2])].push_back(m[1]);
        } else if (in_strings && std::regex_match(line, m, entry)) {
            EXPECT_EQ(ids.count(m[1]), 1u) << m[1];
            if (ids.count(m[1])) script.strings[ids.at(m[1])] = m[2];
        }
    }
    return script;
}

TEST(ResourceScript, EveryCommandHasOneMenuItem) {
    const ResourceScript script = parse_script();
    int commands = 0;
    for (const auto& [name, value] : defines()) {
        if (name.rfind("IDM_", 0) != 0) continue;
        SCOPED_TRACE(name);
        ++commands;
        ASSERT_EQ(script.menu_texts.count(value), 1u);
        EXPECT_EQ(script.menu_texts.at(value).size(), 1u);
    }
    EXPECT_EQ(commands, 9);
}

// The tooltip says what the menu says, so that a button and its menu item
// never read differently.
TEST(ResourceScript, TooltipIsTheMenuTextWithoutItsAccessKey) {
    const ResourceScript script = parse_script();
    const std::regex access_key(R"(^(.+)\(&[A-Z]\)$)");
    int buttons = 0;
    for (const ToolbarButton& b : TOOLBAR_BUTTONS) {
        if (b.style == TOOLBAR_SEPARATOR) continue;
        SCOPED_TRACE(b.command);
        ++buttons;
        ASSERT_EQ(script.menu_texts.count(b.command), 1u);
        std::smatch m;
        const std::string& menu = script.menu_texts.at(b.command).front();
        ASSERT_TRUE(std::regex_match(menu, m, access_key)) << menu;
        ASSERT_EQ(script.strings.count(b.tooltip), 1u);
        EXPECT_EQ(script.strings.at(b.tooltip), m[1].str());
    }
    EXPECT_EQ(buttons, 7);
    EXPECT_EQ(script.strings.size(), 7u);
}

std::uint32_t le(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// One strip for each scaling the toolbar picks from, each the size the
// toolbar is told; the 100 % one is the 112 x 15 strip of 16 x 15 images.
TEST(ToolbarBitmap, EachScalingHasSevenImagesOfItsSizeIn24Bits) {
    const ResourceScript script = parse_script();
    EXPECT_EQ(script.bitmaps.size(), static_cast<std::size_t>(TOOLBAR_PICTURE_SET_COUNT));
    EXPECT_EQ(TOOLBAR_PICTURE_SETS[0].width * TOOLBAR_IMAGE_COUNT, 112);
    EXPECT_EQ(TOOLBAR_PICTURE_SETS[0].height, 15);
    for (const ToolbarPictureSet& set : TOOLBAR_PICTURE_SETS) {
        SCOPED_TRACE(set.dpi);
        ASSERT_EQ(script.bitmaps.count(set.bitmap), 1u);
        const std::string bmp = read_file(script.bitmaps.at(set.bitmap).c_str());
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        const std::uint32_t offset = le(bmp, 10, 4);
        const int width = set.width * TOOLBAR_IMAGE_COUNT;
        const std::size_t stride = (width * 3 + 3) / 4 * 4;
        EXPECT_EQ(le(bmp, 14, 4), 40u);                                // BITMAPINFOHEADER
        EXPECT_EQ(static_cast<std::int32_t>(le(bmp, 18, 4)), width);
        EXPECT_EQ(static_cast<std::int32_t>(le(bmp, 22, 4)), set.height);  // bottom-up
        EXPECT_EQ(le(bmp, 26, 2), 1u);                                 // planes
        EXPECT_EQ(le(bmp, 28, 2), 24u);                                // bits per pixel
        EXPECT_EQ(le(bmp, 30, 4), 0u);                                 // BI_RGB
        ASSERT_EQ(bmp.size(), offset + stride * set.height);

        // Each image must both show something and let the button face through
        // (pure green is the transparent colour).
        for (int image = 0; image < TOOLBAR_IMAGE_COUNT; ++image) {
            SCOPED_TRACE(image);
            int transparent = 0;
            for (int y = 0; y < set.height; ++y) {
                for (int x = image * set.width; x < (image + 1) * set.width; ++x) {
                    const std::size_t at = offset + y * stride + x * 3;  // B, G, R
                    if (le(bmp, at, 3) == 0x00FF00u) ++transparent;
                }
            }
            EXPECT_GT(transparent, 0);
            EXPECT_LT(transparent, set.width * set.height);
        }
    }
}

// Windows reads the awareness from these; a typo makes the program a
// stretched bitmap again, which nothing under Wine would show.
TEST(Manifest, BothDeclarePerMonitorAwarenessAndTheSystemsTheyKnow) {
    const std::string x86 = read_file("quorvel.manifest");
    std::string x64 = read_file("quorvel_amd64.manifest");
    const char* needed[] = {
        R"(<application xmlns="urn:schemas-microsoft-com:asm.v3">)",
        R"(<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">)"
        R"(PerMonitorV2, PerMonitor</dpiAwareness>)",
        R"(<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">)"
        R"(true/pm</dpiAware>)",
        R"(<compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">)",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    for (const char* text : needed) EXPECT_NE(x86.find(text), std::string::npos) << text;
    // The same but for the processor.
    for (std::size_t at; (at = x64.find("\"amd64\"")) != std::string::npos;)
        x64.replace(at, 7, "\"X86\"");
    EXPECT_EQ(x64, x86);
}

TEST(ProgramIcon, HasImagesOf16And32And48Pixels) {
    const std::string ico = read_file("quorvel.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(le(ico, 0, 2), 0u);
    EXPECT_EQ(le(ico, 2, 2), 1u);  // icon, not cursor
    ASSERT_EQ(le(ico, 4, 2), 3u);
    const unsigned sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sizes[i]);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(le(ico, entry, 1), sizes[i]);
        EXPECT_EQ(le(ico, entry + 1, 1), sizes[i]);
        EXPECT_LE(le(ico, entry + 12, 4) + le(ico, entry + 8, 4), ico.size());
    }
}

}  // namespace
}  // namespace quorvel
