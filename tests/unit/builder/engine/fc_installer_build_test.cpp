#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "builder/engine/fc_console_runner.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_build.h"
#include "builder/engine/fc_installer_script.h"
#include "builder/resources/fc_builtin_resources.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_reporter.h"
#include "media/base/kz_temp_file.h"
#include "fc_test_support.h"

using fctest::Exists;
using fctest::ReadBytes;
using fctest::WriteBytes;

namespace {

// Paths as the programs of this platform take them: under Wine the build tree is drive Z:.
std::string Native(std::string path) {
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
#endif
    return path;
}

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

std::string Text(const std::string& path) {
    std::vector<uint8_t> bytes = ReadBytes(path);
    std::string text;
    for (uint8_t b : bytes)
        if (b != '\r') // text-mode files on Windows
            text.push_back(char(b));
    return text;
}

const std::string kStandIn = Native(ISCC_STANDIN_PATH);

std::vector<std::string> RunAll(FCConsoleRunner& runner) {
    std::vector<std::string> lines;
    KZString line;
    while (runner.next_line(&line))
        lines.push_back(line.c_str());
    return lines;
}

TEST(FCConsoleRunnerTest, LinesLongerThanOneReadCrLfAndALastLineWithoutLineFeed) {
    FCConsoleRunner runner;
    ASSERT_TRUE(runner.start(("\"" + kStandIn + "\" --emit").c_str()));
    std::vector<std::string> lines = RunAll(runner);
    std::string long_line(10000, 'x');
    long_line[0] = '<';
    long_line[9999] = '>';
    std::vector<std::string> expected = {"first", long_line,    "to stderr",
                                         "",      "split line", "last without line feed"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(runner.exit_code(), 3);
    KZString more;
    EXPECT_FALSE(runner.next_line(&more)); // the end mark stays
}

TEST(FCConsoleRunnerTest, TeardownEndsARunningProgram) {
    auto begin = std::chrono::steady_clock::now();
    {
        FCConsoleRunner runner;
        ASSERT_TRUE(runner.start(("\"" + kStandIn + "\" --sleep 60000").c_str()));
        KZString line;
        ASSERT_TRUE(runner.next_line(&line));
        EXPECT_STREQ(line.c_str(), "sleeping");
        // The destructor terminates the program and waits for the reader, which finishes only
        // after the program has ended.
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_LT(seconds, 20.0);

    // Torn down before anything was read.
    FCConsoleRunner early;
    ASSERT_TRUE(early.start(("\"" + kStandIn + "\" --sleep 60000").c_str()));
}

TEST(FCConsoleRunnerTest, AProgramThatIsNotThereDoesNotStart) {
    FCConsoleRunner runner;
    EXPECT_FALSE(runner.start("\"/no/such/folder/iscc.exe\" script.iss"));
    EXPECT_NE(runner.system_error(), 0u);
    KZString line;
    EXPECT_FALSE(runner.next_line(&line));
}

TEST(FCConsoleRunnerTest, CommandLineWords) {
    KZTOArray<KZString> words;
    FCSplitCommandLine("\"C:\\Program Files\\setup\\iscc.exe\" C:\\Temp\\a.tmp  \"b c\"d", &words);
    ASSERT_EQ(words.GetCount(), 3);
    EXPECT_STREQ(words[0].c_str(), "C:\\Program Files\\setup\\iscc.exe");
    EXPECT_STREQ(words[1].c_str(), "C:\\Temp\\a.tmp");
    EXPECT_STREQ(words[2].c_str(), "b cd");
}

TEST(FCInstallerReportTest, Layout) {
    KZTOArray<KZString> lines;
    for (const char* l : {"banner 1", "banner 2", "", "Error on line 3", "Compile aborted."})
        lines.Add(KZString(l));
    KZString report = FCInstallerErrorReport(lines, "[Setup]\nAppName=X\n\n[Run]\n");
    EXPECT_EQ(std::string(report.c_str()),
              std::string("An error occurred while generating the installer.\n"
                          "Additional information are displayed below. Please report them to ") +
                  FC_SUPPORT_CONTACT +
                  "\n\nError on line 3\nCompile aborted.\n\n---\n\n[Setup]\nAppName=X\n\n[Run]\n");
    // Fewer than four lines: no output part at all.
    KZTOArray<KZString> short_output;
    short_output.Add(KZString("only"));
    EXPECT_NE(std::string(FCInstallerErrorReport(short_output, "S").c_str())
                  .find(std::string(FC_SUPPORT_CONTACT) + "\n\n\n---\n\nS"),
              std::string::npos);
}

class FCWriteInstallerTest : public ::testing::Test {
public:
    fctest::ScratchFolder scratch{"write_installer"};
    FCResourceTable resources;
    std::unique_ptr<FCDocument> doc;
    KZRecordingReporter reporter;
    std::vector<uint8_t> stub = std::vector<uint8_t>(900, 0x33);
    std::vector<uint8_t> launcher = std::vector<uint8_t>(200, 0x44);
    std::string output;
    std::string log;
    FCInstallerOptions options;
    KZString report;

    void SetUp() override {
        fctest::UseTestResources(resources, stub, launcher);
        doc.reset(new FCDocument(&resources));
        std::string movie = Native(scratch.file("main.swf"));
        WriteBytes(movie,
                   fctest::SwfFile(false, 6, fctest::SwfBody(0, 2000, 0, 2000, 0x0C00, 1, {})));
        doc->movie_file = movie.c_str();
        doc->show_license = true;
        doc->license_file = Native(scratch.file("License.txt")).c_str();
        WriteBytes(doc->license_file.c_str(), {'o', 'k', '\n'});
        output = Native(scratch.file("Stars Setup.exe"));
        log = Native(scratch.file("compiles.log"));
        SetEnv("ISCC_STANDIN_LOG", log.c_str());
        SetEnv("ISCC_STANDIN_FAIL", nullptr);
        options.compiler = kStandIn.c_str();
        options.open_report = false;
        options.report_path = &report;
    }
    void TearDown() override {
        SetEnv("ISCC_STANDIN_LOG", nullptr);
        SetEnv("ISCC_STANDIN_FAIL", nullptr);
        doc.reset();
        DeleteTempFiles(); // the error reports
    }
    // The script paths the compiler was given, in order.
    std::vector<std::string> Compiles() {
        std::vector<std::string> paths;
        std::string all = Text(log), line;
        for (char c : all) {
            if (c == '\n') {
                paths.push_back(line);
                line.clear();
            } else {
                line.push_back(c);
            }
        }
        return paths;
    }
};

TEST_F(FCWriteInstallerTest, CompilerWritesTheSetupProgram) {
    // An old setup at the output path is replaced.
    WriteBytes(output, {'o', 'l', 'd'});
    ASSERT_TRUE(write_installer(*doc, output.c_str(), resources, reporter, options));
    EXPECT_TRUE(reporter.messages.empty()) << reporter.messages[0];
    std::vector<uint8_t> setup = ReadBytes(output);
    EXPECT_EQ(setup, ReadBytes(kStandIn)); // the stand-in writes a copy of itself
    EXPECT_FALSE(Exists(output + ".old"));
    EXPECT_TRUE(report.IsEmpty());
    std::vector<std::string> compiles = Compiles();
    ASSERT_EQ(compiles.size(), 1u);
    EXPECT_FALSE(Exists(compiles[0])); // the script is deleted
    EXPECT_EQ(reporter.wait_depth, 0);
}

// The wizard writes setups through here too: an output that is one of the inputs (the licence,
// the compiler) is refused before anything is built, and the input stays.
TEST_F(FCWriteInstallerTest, AnOutputThatIsAnInputIsRefused) {
    for (const std::string& input : {std::string(doc->license_file.c_str()), kStandIn}) {
        SCOPED_TRACE(input);
        reporter = KZRecordingReporter();
        std::vector<uint8_t> before = ReadBytes(input);
        EXPECT_FALSE(write_installer(*doc, input.c_str(), resources, reporter, options));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0].rfind("The output would overwrite the ", 0), 0u)
            << reporter.messages[0];
        EXPECT_EQ(ReadBytes(input), before);
        EXPECT_TRUE(Compiles().empty()); // the compiler never ran
    }
}

// A temporary folder with blanks, as Windows XP's "...\\Local Settings\\Temp" is: the script's
// path reaches the compiler as one argument.
TEST_F(FCWriteInstallerTest, TemporaryFolderWithBlanks) {
    std::string folder = Native(scratch.file("Local Settings/Temp"));
    ASSERT_TRUE(KZCreateFolders(folder.c_str()));
#ifdef _WIN32
    const char* names[] = {"TMP", "TEMP"};
#else
    const char* names[] = {"TMPDIR"};
#endif
    std::vector<std::string> saved;
    for (const char* name : names) {
        const char* value = getenv(name);
        saved.push_back(value ? value : "");
        SetEnv(name, folder.c_str());
    }
    bool written = write_installer(*doc, output.c_str(), resources, reporter, options);
    for (size_t i = 0; i < saved.size(); i++)
        SetEnv(names[i], saved[i].empty() ? nullptr : saved[i].c_str());
    ASSERT_TRUE(written) << (reporter.messages.empty() ? "" : reporter.messages[0]);
    EXPECT_EQ(ReadBytes(output), ReadBytes(kStandIn));
    std::vector<std::string> compiles = Compiles();
    ASSERT_EQ(compiles.size(), 1u);
    // In that folder (on POSIX in our private folder inside it).
    EXPECT_EQ(compiles[0].rfind(folder, 0), 0u) << compiles[0];
    EXPECT_EQ(compiles[0][folder.size()], KZPathSeparator());
#ifndef _WIN32
    EXPECT_EQ(compiles[0].substr(folder.size() + 1, 7), "scrkit-");
#endif
}

TEST_F(FCWriteInstallerTest, FailedCompileGivesTheReportAndKeepsAnOldSetupWithoutSuccess) {
    WriteBytes(output, {'o', 'l', 'd'});
    SetEnv("ISCC_STANDIN_FAIL", "1");
    EXPECT_FALSE(write_installer(*doc, output.c_str(), resources, reporter, options));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Error while creating Installer");
    EXPECT_EQ(reporter.types[0], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));
    // The earlier setup program is back in place, and did not count as this run's.
    EXPECT_EQ(ReadBytes(output), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_FALSE(Exists(output + ".old"));

    std::vector<std::string> compiles = Compiles();
    ASSERT_EQ(compiles.size(), 1u);
    EXPECT_FALSE(Exists(compiles[0]));
    ASSERT_FALSE(report.IsEmpty());
    std::string r = Text(report.c_str());
    std::string head = std::string("An error occurred while generating the installer.\n"
                                   "Additional information are displayed below. Please report "
                                   "them to ") +
                       FC_SUPPORT_CONTACT +
                       "\n\n"
                       // the compiler's output from its fourth line on
                       "Compiler engine version: stand-in 5\n\n[ISPP] Preprocessing.\n";
    EXPECT_EQ(r.substr(0, head.size()), head);
    EXPECT_EQ(r.find("Inno Setup 5 Command-Line Compiler"), std::string::npos);
    std::string tail = "Error on line 1 in " + compiles[0] +
                       ": Failure requested\nCompile aborted.\n\n---\n\n[Setup]\nAppName=";
    EXPECT_NE(r.find(tail), std::string::npos);
    EXPECT_EQ(r.substr(r.size() - 51), "[UninstallDelete]\nType: dirifempty; Name: \"{app}\"\n\n");
    EXPECT_NE(r.find("LicenseFile=" + std::string(doc->license_file.c_str()) + "\n"),
              std::string::npos);
}

TEST_F(FCWriteInstallerTest, CompilerThatRejectsTheScriptWritesNothing) {
    // A compile without an old file: no output and the report.
    doc->custom_icon = false;
    SetEnv("ISCC_STANDIN_FAIL", "1");
    EXPECT_FALSE(write_installer(*doc, output.c_str(), resources, reporter, options));
    EXPECT_FALSE(Exists(output));
    EXPECT_FALSE(report.IsEmpty());
}

TEST_F(FCWriteInstallerTest, MissingCompiler) {
    WriteBytes(output, {'o', 'l', 'd'});
    options.compiler = Native(scratch.file("setup/iscc.exe")).c_str();
    EXPECT_FALSE(write_installer(*doc, output.c_str(), resources, reporter, options));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0],
              "Unable to open file:\n" + std::string(options.compiler.c_str()));
    EXPECT_EQ(ReadBytes(output), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_TRUE(report.IsEmpty());
}

TEST_F(FCWriteInstallerTest, UnreadableLicenceStopsBeforeAnyCompilerRuns) {
    doc->license_file = Native(scratch.file("nope.txt")).c_str();
    EXPECT_FALSE(write_installer(*doc, output.c_str(), resources, reporter, options));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0],
              "Unable to read License File:\n" + std::string(doc->license_file.c_str()));
    EXPECT_TRUE(Compiles().empty());
    EXPECT_FALSE(Exists(output));
}

TEST_F(FCWriteInstallerTest, DefaultCompilerLiesInTheSetupFolder) {
    KZString saved = FCGetBuilderFolder();
    FCSetBuilderFolder(Native(scratch.path()).c_str());
    std::string expected = Native(scratch.path());
#ifdef _WIN32
    expected += "setup\\iscc.exe";
#else
    expected += "setup/iscc";
#endif
    EXPECT_EQ(std::string(FCDefaultCompilerPath().c_str()), expected);
    options.compiler = KZString();
    EXPECT_FALSE(write_installer(*doc, output.c_str(), resources, reporter, options));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Unable to open file:\n" + expected);
    FCSetBuilderFolder(saved);
}

} // namespace
