#include "log/run_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "config/product_config.h"
#include "platform/log_file.h"
#include "support/test_paths.h"
#include "tasks/running_installer.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The events of a log: its byte-order mark and each line's "<ms, 7 wide> <text>\r\n" checked,
// the texts returned.
std::vector<std::string> Events(const RunLog& log) {
    const std::string bytes = ReadAll(log.FilePath());
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    std::vector<std::string> events;
    for (std::size_t at = 3, end; at < bytes.size(); at = end + 2) {
        end = bytes.find("\r\n", at);
        if (end == std::string::npos) ADD_FAILURE() << "a line without CR LF at " << at;
        if (end == std::string::npos) break;
        const std::string line = bytes.substr(at, end - at);
        EXPECT_TRUE(line.size() > 8 && line[7] == ' ' && line[6] >= '0' && line[6] <= '9') << line;
        events.push_back(line.substr(8));
    }
    return events;
}

std::string DataPath(const std::string& relative) {
    std::string path = test::DataDir() + relative;
    for (char& c : path) c = c == '/' ? test::DataDir().back() : c;
    return path;
}

}  // namespace

TEST(RunLogTest, OneNewFilePerStartThatNothingElseShares) {
    EXPECT_EQ(LogFileName({2026, 1, 2, 3, 4, 5}, 42), "Setup_20260102_030405_42.log");
    EXPECT_EQ(LocalTimeText({2026, 12, 31, 23, 59, 7}), "2026-12-31 23:59:07");
    test::TempFolder folder;
    RunLog log;
    ASSERT_TRUE(log.Open(folder.Path()));
    EXPECT_EQ(log.FilePath(), folder.Path() + LogFileName(log.Started(), platform::CurrentProcessId()));
    log.Write("Grüße");
    EXPECT_EQ(Events(log), std::vector<std::string>{"Grüße"});

    // A name that exists is left as it is; a missing folder gives no log, and writing to none
    // does nothing.
    platform::AppendOnlyFile again;
    EXPECT_FALSE(again.CreateNew(log.FilePath()));
    RunLog none;
    EXPECT_FALSE(none.Open(folder.Path() + "missing" + folder.Path().back()));
    EXPECT_FALSE(none.Open(""));
    none.Write("lost");
    EXPECT_EQ(Events(log).size(), 1u);
}

// Every thread writes to the one log without a lock: each line arrives whole, a thread's lines
// in the order written, and a long run loses none.
TEST(RunLogTest, LinesFromManyThreadsArriveWhole) {
    test::TempFolder folder;
    RunLog log;
    ASSERT_TRUE(log.Open(folder.Path()));
    constexpr int kThreads = 4, kLines = 600;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i) log.Write(std::string(200, char('a' + t)) + ' ' + std::to_string(i));
        });
    }
    for (auto& thread : threads) thread.join();
    std::vector<int> next(kThreads, 0);
    const auto events = Events(log);
    ASSERT_EQ(events.size(), std::size_t{kThreads * kLines});
    for (const std::string& event : events) {
        const int t = event[0] - 'a';
        ASSERT_TRUE(t >= 0 && t < kThreads) << event;
        EXPECT_EQ(event, std::string(200, event[0]) + ' ' + std::to_string(next[t]++));
    }
}

TEST(LogLineTest, PiecesAsTheLogWritesThem) {
    const struct {
        LogLine line;
        const char* expected;
    } cases[] = {
        {LogLine().Quote("a\"b\r\n\x7F\t"), "\"a\"b\\x0D\\x0A\\x7F\\x09\""},
        {LogLine().Quote(L"Grüße 中文"), "\"Grüße 中文\""},
        {LogLine().Hex(3010, 8), "0x00000BC2"},
        {LogLine().Hex(0x0407, 4), "0x0407"},
        {(LogLine() << 4294967295UL << " ").Signed(-2147483647 - 1), "4294967295 -2147483648"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line.Text(), c.expected);
}

TEST(RunLogTest, WhatStartUpReadAndChose) {
    const std::string medium = DataPath("config/medium/");
    std::string languages = medium;  // as the language file's path spells it
    for (char& c : languages) c = c == '/' ? '\\' : c;
    const struct {
        std::string conf, languageFolder;
        std::vector<std::string> expected;  // the log's first events
    } cases[] = {
        {medium + "conf.xml",
         medium + "Language",
         {"conf.xml: \"" + medium + "conf.xml\" read", "conf.xml: debug no, testLanguage not set",
          "language file: \"de-de\" (the table's code for 0x0407): \"" + languages + "Language\\de-de.ini\" read",
          "installer 0: key \"Driver\", text \"Druckertreiber\", rule \"Driver\\{language}\\setup.exe\", icon 2, "
          "default yes"}},
        {DataPath("config/bad/truncated.xml"),
         medium + "Nowhere",
         {"conf.xml: \"" + DataPath("config/bad/truncated.xml") + "\" not read: XML_ERROR_PARSING_ELEMENT at line 4",
          "conf.xml: debug no, testLanguage not set",
          "language file: none found, \"de-de\" (the table's code for 0x0407): \"" + languages +
              "Nowhere\\de-de.ini\" does not exist"}},
        {DataPath("config/bad/no_root.xml"),
         "",
         {"conf.xml: \"" + DataPath("config/bad/no_root.xml") + "\" not read: XML_ERROR_EMPTY_DOCUMENT"}},
        {medium + "missing.xml", "", {"conf.xml: \"" + medium + "missing.xml\" not read: XML_ERROR_FILE_NOT_FOUND"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.conf);
        test::TempFolder folder;
        RunLog log;
        ASSERT_TRUE(log.Open(folder.Path()));
        ProductConfig config;
        LanguageState state(0x0407, "de", "DE");
        LoadProductConfig(0x0407, c.languageFolder, c.conf, config, state, {}, &log);
        const auto events = Events(log);
        ASSERT_GE(events.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(events[i], c.expected[i]);
    }
}

// The worker's end of a wait and the exit question's yes, at the same moment, over and over:
// exactly one side owns the handle each time, and the exit question never gets one the worker
// has closed.
TEST(RunningInstallerTest, TheHandleHasOneOwnerWhateverTheTiming) {
    RunningInstaller running;
    for (int round = 0; round < 1000; ++round) {
        int process = 0;  // 1: closed by the worker
        running.Publish(&process);
        std::thread worker([&] {
            if (running.Take()) process = 1;
        });
        const void* taken = running.Take();
        worker.join();
        ASSERT_NE(taken != nullptr, process == 1) << round;
        ASSERT_EQ(running.Take(), nullptr);
    }
}
