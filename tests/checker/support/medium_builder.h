#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/checker.h"
#include "checker/findings.h"
#include "support/test_paths.h"

// A medium the launcher would find nothing wrong with, written into a fresh folder, which a
// test then breaks in one place: every language file of the selection table with every text,
// conf.xml with two installers (one per language) and one manual, a full UICfg.xml and the skin
// with its variants for 150 % and 200 %.
namespace checker_test {

// The keys of the 37 UICfg.xml entries, in order.
std::vector<std::string> UiKeys();

// A language file holding every key the clean medium needs; `extra` lines go at its end.
std::string LanguageFile(const std::string& code, const std::string& extra = "");

// conf.xml of the clean medium with `installs` and `manuals` as the lists' items.
std::string ConfXml(const std::string& installs, const std::string& manuals, const std::string& rootAttributes = "");
extern const char kCleanInstalls[];
extern const char kCleanManuals[];

// UICfg.xml with the given entries (default: all 37, one per line from line 2).
std::string UiCfgXml(const std::vector<std::string>& keys);

// `text` with the first `from` replaced by `to` (a test failure when there is none).
std::string Replaced(std::string text, const std::string& from, const std::string& to);

// A valid PNG of that size (8-bit RGBA, or interlaced when asked).
std::string Png(unsigned width, unsigned height, bool interlaced = false);
// A valid PNG of that size in one bit a pixel: a small file to read for a large image.
std::string BitPng(unsigned width, unsigned height);
// Its chunks: the signature followed by `chunks` (each type + data, CRC computed).
std::string PngChunk(const std::string& type, const std::string& data);
std::string PngHeader(unsigned width, unsigned height, int depth, int colorType, int interlace);
std::string Compressed(const std::string& bytes);

class Medium {
public:
    // `folderName` ends the name of the medium's folder.
    explicit Medium(const std::string& folderName = "");
    const std::string& Path() const { return folder_.Path(); }
    std::string Write(const std::string& relative, const std::string& bytes) const {
        return folder_.Write(relative, bytes);
    }
    void Remove(const std::string& relative) const;
    checker::Report Check(const std::vector<std::string>& locales = {"de_DE", "en_US", "ja_JP", "zh_TW"}) const;

private:
    test::TempFolder folder_;
};

// A finding as a test states it; an empty message or box matches any.
struct Expected {
    std::string file;
    int line;
    checker::Severity severity;
    std::string code;
    std::string message = {};
    std::string box = {};
};

// Compares every finding of the report with the table (both taken in file, line and code order,
// findings of one place and kind in the order made); says what differs.
::testing::AssertionResult FindingsAre(const checker::Report& report, const std::vector<Expected>& expected);

}  // namespace checker_test
