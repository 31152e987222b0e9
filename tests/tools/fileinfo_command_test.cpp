// ravelgard-tool fileinfo: the text and JSON layouts, byte for byte, and the exit codes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>
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
    std::ostringstream out, err;
    const int code = tool::RunFileinfoCommand(args, out, err);
    return {code, out.str(), err.str()};
}

// The creation date cannot be set; it is checked for its form and then masked.
std::string MaskCreated(const std::string& out) {
    return std::regex_replace(out, std::regex(R"((Created"?: ?"?)\d{4}-\d\d-\d\d)"), "$1<date>");
}

TEST(FileinfoCommand, TextAndJsonLayoutsByteForByteAndTheExitCodes) {
    // A copy of a fixture named with é, TAB, quote, backslash and DEL, written and read on
    // 2003-01-04.
    const TempFolder folder;
    const std::string odd =
        folder.Write("m\xE9\t\"q\\\x7F.exe", TempFolder::ReadFile(FixturePath("marks")));
    const timespec times[2] = {{1041681600, 0}, {1041681600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, platform::NativePath(odd).c_str(), times, 0), 0);
    struct stat info {};
    ::stat(platform::NativePath(odd).c_str(), &info);
    const std::string size = std::to_string(info.st_size);
    const std::string sizeText = fileinfo::SizeText(static_cast<std::uint64_t>(info.st_size));

    const CommandResult text = Fileinfo({platform::NativePath(odd)});
    EXPECT_EQ(text.code, 0);
    const std::string oddText = "m\xC3\xA9\\x09\"q\\\\x7F.exe";
    EXPECT_EQ(MaskCreated(text.out),
              "FullPath: " + folder.path() + "/" + oddText + "\nFileName: " + oddText +
                  "\nSizeBytes: " + size + "\nSizeText: " + sizeText +
                  "\nModified: 2003-01-04\nAccessed: 2003-01-04\nCreated: <date>\n"
                  "CompanyName: Trade\xE2\x84\xA2 Co\nFileDescription: " +
                  oddText +
                  "\nFileVersion: \nInternalName: ???\nLegalCopyright: \n"
                  "OriginalFileName: marks.exe\nProductName: Lukasz Tools\nProductVersion: \n");

    ASSERT_EQ(::utimensat(AT_FDCWD, platform::NativePath(odd).c_str(), times, 0), 0);  // read
    const CommandResult json =
        Fileinfo({"--json", platform::NativePath(odd), platform::NativePath(folder / "gone.exe")});
    EXPECT_EQ(json.code, 1);  // one path did not exist
    const std::string oddJson = R"(m\u00e9\u0009\"q\\\u007f.exe)";
    const std::string base = "{\"FullPath\":\"" + folder.path() + "/";
    EXPECT_EQ(MaskCreated(json.out),
              base + oddJson + "\",\"FileName\":\"" + oddJson + "\",\"SizeBytes\":" + size +
                  ",\"SizeText\":\"" + sizeText +
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

    for (const tool::Args& args : {tool::Args{}, tool::Args{"--jsn", "x"}}) {
        const CommandResult run = Fileinfo(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.starts_with("ravelgard-tool fileinfo: ") &&
                    run.err.ends_with(std::string("\n\n") + tool::kFileinfoUsage))
            << run.err;
        EXPECT_EQ(run.out, "");
    }
    const CommandResult help = Fileinfo({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, tool::kFileinfoUsage);
    // After a path, an option's name is one more path, and the layout stays text, with a blank
    // line between files.
    const CommandResult late = Fileinfo({FixturePath("full"), "--json"});
    EXPECT_EQ(late.code, 1);
    EXPECT_NE(late.out.find("\n\nFullPath: --json\nFileName: --json\n"), std::string::npos);
}

}  // namespace
}  // namespace rg::test
