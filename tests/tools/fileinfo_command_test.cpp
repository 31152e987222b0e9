// ravelgard-tool fileinfo: the text and JSON layouts, byte for byte, and the exit codes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <sstream>

#include "fileinfo/file_properties.h"
#include "platform/os/file_system.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"
#include "tools/commands.h"
#include "tools/usage.h"

namespace rg::test {
namespace {

struct CommandResult {
    int code;
    std::string out;
    std::string err;
};

CommandResult Fileinfo(const tool::Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = tool::RunFileinfoCommand(args, out, err);
    return {code, out.str(), err.str()};
}

// The creation date cannot be set; it is checked for its form and then masked.
std::string MaskCreated(std::string out) {
    for (const std::string key : {"Created: ", "\"Created\":\""}) {
        for (std::size_t at = out.find(key); at != std::string::npos; at = out.find(key, at + 1)) {
            const std::string date = out.substr(at + key.size(), 10);
            const auto matches = [](char c, char form) {
                return form == 'd' ? c >= '0' && c <= '9' : c == form;
            };
            if (date.size() == 10 && std::equal(date.begin(), date.end(), "dddd-dd-dd", matches)) {
                out.replace(at + key.size(), 10, "<date>");
            }
        }
    }
    return out;
}

class FileinfoCommand : public ::testing::Test {
  protected:
    // A copy of a fixture, written and read on 2003-01-04, and its size.
    std::pair<std::string, std::string> Copy(const std::string& fixture, const std::string& name) {
        const std::string path = folder_.Write(name, TempFolder::ReadFile(FixturePath(fixture)));
        const timespec times[2] = {{1041681600, 0}, {1041681600, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, platform::NativePath(path).c_str(), times, 0), 0);
        struct stat info {};
        ::stat(platform::NativePath(path).c_str(), &info);
        return {path, std::to_string(info.st_size)};
    }
    TempFolder folder_;
    // é, TAB, quote, backslash and DEL in a file name (code page 1252).
    const std::string odd_ = "m\xE9\t\"q\\\x7F.exe";
};

TEST_F(FileinfoCommand, TextShowsOneFieldPerLineAndABlankLineBetweenFiles) {
    const auto [full, fullSize] = Copy("full", "full.exe");
    const auto [marks, marksSize] = Copy("marks", odd_);
    const CommandResult run = Fileinfo({platform::NativePath(full), platform::NativePath(marks)});
    EXPECT_EQ(run.code, 0);
    const std::string oddText = "m\xC3\xA9\\x09\"q\\\\x7F.exe";
    EXPECT_EQ(MaskCreated(run.out),
              "FullPath: " + folder_.path() + "/full.exe\nFileName: full.exe\nSizeBytes: " +
                  fullSize + "\nSizeText: " + fileinfo::SizeText(std::stoull(fullSize)) +
                  "\nModified: 2003-01-04\nAccessed: 2003-01-04\nCreated: <date>\n"
                  "CompanyName: Ravelgard Test Co\nFileDescription: Sample Tool\n"
                  "FileVersion: 1.2.3.4\nInternalName: sample\n"
                  "LegalCopyright: Copyright 2024 Test\nOriginalFileName: sample.exe\n"
                  "ProductName: Sample Product\nProductVersion: 1.2\n"
                  "\nFullPath: " +
                  folder_.path() + "/" + oddText + "\nFileName: " + oddText + "\nSizeBytes: " +
                  marksSize + "\nSizeText: " + fileinfo::SizeText(std::stoull(marksSize)) +
                  "\nModified: 2003-01-04\nAccessed: 2003-01-04\nCreated: <date>\n"
                  "CompanyName: Trade\xE2\x84\xA2 Co\nFileDescription: " +
                  oddText +
                  "\nFileVersion: \nInternalName: ???\nLegalCopyright: \n"
                  "OriginalFileName: marks.exe\nProductName: Lukasz Tools\nProductVersion: \n");
}

TEST_F(FileinfoCommand, JsonPrintsOneObjectPerLineWithEscapes) {
    const auto [marks, marksSize] = Copy("marks", odd_);
    const std::string gone = folder_ / "gone.exe";
    const CommandResult run =
        Fileinfo({"--json", platform::NativePath(marks), platform::NativePath(gone)});
    EXPECT_EQ(run.code, 1);  // one path did not exist
    const std::string oddJson = R"(m\u00e9\u0009\"q\\\u007f.exe)";
    const std::string base = "{\"FullPath\":\"" + folder_.path() + "/";
    EXPECT_EQ(MaskCreated(run.out),
              base + oddJson + "\",\"FileName\":\"" + oddJson + "\",\"SizeBytes\":" + marksSize +
                  ",\"SizeText\":\"" + fileinfo::SizeText(std::stoull(marksSize)) +
                  R"(","Modified":"2003-01-04","Accessed":"2003-01-04","Created":"<date>",)"
                  R"("CompanyName":"Trade\u2122 Co","FileDescription":")" +
                  oddJson +
                  R"(","FileVersion":"","InternalName":"???","LegalCopyright":"",)"
                  R"("OriginalFileName":"marks.exe","ProductName":"Lukasz Tools",)"
                  R"("ProductVersion":""})"
                  "\n" +
                  base +
                  R"(gone.exe","FileName":"gone.exe","SizeBytes":0,"SizeText":"",)"
                  R"("Modified":null,"Accessed":null,"Created":null,"CompanyName":"",)"
                  R"("FileDescription":"gone.exe","FileVersion":"","InternalName":"",)"
                  R"("LegalCopyright":"","OriginalFileName":"gone.exe","ProductName":"gone.exe",)"
                  R"("ProductVersion":""})"
                  "\n");
}

TEST_F(FileinfoCommand, UsageAndExitCodes) {
    for (const tool::Args& args : {tool::Args{}, tool::Args{"--json"}, tool::Args{"--jsn", "x"}}) {
        const CommandResult run = Fileinfo(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.starts_with("ravelgard-tool fileinfo: ")) << run.err;
        EXPECT_TRUE(run.err.ends_with(std::string("\n\n") + tool::kFileinfoUsage)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    const CommandResult help = Fileinfo({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, tool::kFileinfoUsage);
    // After a path or "--", an option's name is one more path, and the layout stays text.
    for (const tool::Args& args : {tool::Args{FixturePath("full"), "--json"},
                                   tool::Args{"--", FixturePath("full"), "--json"}}) {
        const CommandResult late = Fileinfo(args);
        EXPECT_EQ(late.code, 1);
        EXPECT_NE(late.out.find("\n\nFullPath: --json\nFileName: --json\n"), std::string::npos);
    }
}

}  // namespace
}  // namespace rg::test
