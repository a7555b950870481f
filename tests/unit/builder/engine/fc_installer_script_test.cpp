#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "builder/engine/fc_document.h"
#include "builder/engine/fc_installer_script.h"
#include "builder/resources/fc_builtin_resources.h"
#include "media/base/kz_reporter.h"
#include "media/picture/kz_picture.h"
#include "fc_test_support.h"

using fctest::Exists;
using fctest::ReadBytes;
using fctest::WriteBytes;

namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class FCInstallerScriptTest : public ::testing::Test {
public:
    fctest::ScratchFolder scratch{"installer_script"};
    FCResourceTable resources;
    std::unique_ptr<FCDocument> doc;
    KZRecordingReporter reporter;
    FCInstallerFiles files;
    std::vector<uint8_t> stub = std::vector<uint8_t>(700, 0x5A);
    std::vector<uint8_t> launcher = std::vector<uint8_t>(300, 0x4C);

    void SetUp() override {
        fctest::UseTestResources(resources, stub, launcher);
        doc.reset(new FCDocument(&resources));
        // The default copyright carries the current year: fix it so the scripts stay put.
        doc->copyright = "Copyright (c) 2024 Your Company";
        files.screensaver = "C:\\Temp\\A1B2C3D41.tmp";
        files.launcher = "C:\\Temp\\A1B2C3D42.tmp";
        files.wizard_image = "C:\\Temp\\A1B2C3D43.tmp";
        files.wizard_small_image = "C:\\Temp\\A1B2C3D44.tmp";
    }
    void TearDown() override { doc.reset(); }

    KZString File(const char* name, const char* text = "some text\n") {
        std::string path = scratch.file(name);
        EXPECT_TRUE(WriteBytes(path, std::vector<uint8_t>(text, text + strlen(text))));
        return KZString(path.c_str());
    }

    // The composed script with the scratch folder written as "@DIR@/".
    std::string Compose(const char* output = "C:\\Setups\\Stars Setup.exe") {
        FCInstallerScript script;
        EXPECT_TRUE(FCComposeInstallerScript(*doc, output, files, reporter, &script));
        return Replace(script.text().c_str(), scratch.path(), "@DIR@/");
    }
};

struct GoldenCase {
    const char* name;
    std::function<void(FCInstallerScriptTest&, FCDocument&)> set;
};

// Projects that together reach every row's condition both ways. The scripts are kept in
// tests/fixtures/installer/; SCRKIT_UPDATE_GOLDEN=1 rewrites them (review the difference).
const GoldenCase kGoldenCases[] = {
    {"defaults", [](FCInstallerScriptTest&, FCDocument&) {}},
    {"everything",
     [](FCInstallerScriptTest& t, FCDocument& d) {
         d.short_name = "Stars";
         d.long_name = "Night Stars";
         d.version = "";
         d.company_name = "";
         d.copyright = "";
         d.company_url = "http://www.example.com/stars";
         d.install_dir = "{pf}\\Night Stars";
         d.setup_password_enabled = true;
         d.setup_password = "s3cret";
         d.setup_language = 3;
         d.disable_startup_prompt = d.disable_dir_page = d.disable_program_group_page = true;
         d.disable_ready_page = d.disable_finished_page = true;
         d.show_license = true;
         d.license_file = t.File("License.txt");
         d.install_readme = true;
         d.readme_file = t.File("ReadMe.txt");
         d.install_additional_files = true;
         d.additional_files.Add(t.File("extra.dat"));
         d.additional_files.Add(t.File("Manual.pdf"));
         d.custom_icon = true;
         d.custom_icon_file = t.File("stars.ico");
         d.menu_subfolder = true;
         d.menu_subfolder_name = "Savers";
         d.menu_url = true;
         d.menu_url_target = "http://www.example.com/stars/more";
         d.menu_custom = true;
         d.menu_custom_caption = "Notes";
         d.menu_custom_target = "notepad.exe";
         d.end_show_readme_ask = true;
         d.end_open_display_properties_ask = true;
         d.end_launch = true;
         d.end_launch_index = 1;
         d.end_launch_ask = true;
         d.end_launch_message = "Open the manual";
     }},
    {"placeholder_url_and_unmet_entries",
     [](FCInstallerScriptTest& t, FCDocument& d) {
         d.setup_language = 10;
         d.menu_url = true;                     // the target is still the placeholder
         d.menu_readme = d.menu_license = true; // no readme installed, no licence shown
         d.custom_icon = true;                  // without a path: the screensaver's icon
         d.menu_subfolder = true;               // without a name: the plain group
         d.setup_password_enabled = true;       // without a password: no line
         d.end_launch = true;                   // without install_additional_files
         d.end_launch_target = "http://www.example.com/";
         d.additional_files.Add(t.File("not-installed.dat"));
         d.end_launch_index = 0;
         d.menu_custom = true; // without a target
         d.end_show_readme = true;
     }},
    {"free_launch_target_and_empty_messages",
     [](FCInstallerScriptTest& t, FCDocument& d) {
         d.setup_language = 7;
         d.company_url = "http://www.example.org/";
         d.menu_url = true;
         d.menu_url_target = "http://www.example.org/";
         d.menu_url_caption = ""; // no caption: no entry
         d.menu_uninstall_caption = "";
         d.show_license = true;
         d.license_file = t.File("eula.txt");
         d.menu_license = false;
         d.install_readme = true;
         d.readme_file = t.File("notes.txt");
         d.end_show_readme_ask = true;
         d.end_show_readme_message = ""; // asked without a text: no line
         d.end_open_display_properties_ask = true;
         d.end_open_display_properties_message = "";
         d.install_additional_files = true;
         d.additional_files.Add(t.File("a.txt"));
         d.end_launch = true;
         d.end_launch_index = -1;
         d.end_launch_target = "http://www.example.org/thanks";
         d.end_launch_message = "Say thanks";
     }},
    {"run_lines_without_questions",
     [](FCInstallerScriptTest& t, FCDocument& d) {
         // Not asked: the readme and Display Properties lines come even without a text.
         d.install_readme = true;
         d.readme_file = t.File("Read Me.txt");
         d.menu_readme = false;
         d.end_show_readme_ask = false;
         d.end_show_readme_message = "";
         d.end_open_display_properties_ask = false;
         d.end_open_display_properties_message = "";
         d.install_additional_files = true;
         d.additional_files.Add(t.File("tool.exe"));
         d.end_launch = true;
         d.end_launch_index = 0;
         d.end_launch_ask = false;
         d.end_launch_message = "";
         d.setup_language = 11;
     }},
    {"invalid_launch_index_without_target",
     [](FCInstallerScriptTest& t, FCDocument& d) {
         d.setup_language = 1;
         d.install_additional_files = true;
         d.additional_files.Add(t.File("one.bin"));
         d.end_launch = true;
         d.end_launch_index = 5; // no such entry, and no free text either
         d.end_launch_target = "";
         d.end_open_display_properties = false;
         d.menu_launch = d.menu_configure = false;
     }},
};

TEST_F(FCInstallerScriptTest, GoldenScripts) {
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.name);
        doc.reset(new FCDocument(&resources));
        doc->copyright = "Copyright (c) 2024 Your Company";
        c.set(*this, *doc);
        std::string script = Compose();
        EXPECT_TRUE(reporter.messages.empty());
        std::string golden =
            std::string(SCRKIT_SOURCE_DIR) + "/tests/fixtures/installer/" + c.name + ".iss";
        const char* update = getenv("SCRKIT_UPDATE_GOLDEN");
        if (update && *update == '1')
            WriteBytes(golden, std::vector<uint8_t>(script.begin(), script.end()));
        std::vector<uint8_t> expected = ReadBytes(golden);
        EXPECT_EQ(script, std::string(expected.begin(), expected.end()));
    }
}

TEST_F(FCInstallerScriptTest, MessagesFileOfEveryLanguage) {
    const char* expected[] = {"Default.isl",
                              "Languages\\French.isl",
                              "Languages\\German.isl",
                              "Languages\\Italian.isl",
                              "Languages\\Portuguese.isl",
                              "Languages\\BrazilianPortuguese.isl",
                              "Languages\\Spanish.isl",
                              "Languages\\SpanishColombia.isl",
                              "Languages\\SpanishMexico.isl",
                              "Languages\\English.isl",
                              "Languages\\Polish.isl"};
    for (int language = 1; language <= 11; language++)
        EXPECT_STREQ(FCInstallerMessagesFile(language).c_str(), expected[language - 1]);
    doc->setup_language = 3;
    EXPECT_NE(Compose().find("[Languages]\nName: \"LANG3\"; MessagesFile: "
                             "\"compiler:Languages\\German.isl\"\n\n[Files]"),
              std::string::npos);
}

TEST_F(FCInstallerScriptTest, OutputFolderAndBaseName) {
    std::string script = Compose("D:\\out\\My.Saver.Setup.exe");
    EXPECT_NE(script.find("OutputDir=D:\\out\\\nOutputBaseFilename=My.Saver.Setup\n"),
              std::string::npos);
    script = Compose("/home/me/setups/stars.exe");
    EXPECT_NE(script.find("OutputDir=/home/me/setups/\nOutputBaseFilename=stars\n"),
              std::string::npos);
}

// Each unreadable file stops the generator with its message and the path; the first one in
// the script's order is the one reported.
TEST_F(FCInstallerScriptTest, UnreadableFilesStopTheGenerator) {
    struct Case {
        const char* message;
        std::function<void(FCDocument&, const KZString&)> set;
    } cases[] = {
        {"Unable to read License File:\n",
         [](FCDocument& d, const KZString& p) {
             d.show_license = true;
             d.license_file = p;
         }},
        {"Unable to read Readme File:\n",
         [](FCDocument& d, const KZString& p) {
             d.install_readme = true;
             d.readme_file = p;
         }},
        {"Unable to read additional file:\n",
         [](FCDocument& d, const KZString& p) {
             d.install_additional_files = true;
             d.additional_files.Add(KZString("fine-first.txt"));
             d.additional_files.Add(p);
         }},
        {"Unable to read Icon File:\n",
         [](FCDocument& d, const KZString& p) {
             d.custom_icon = true;
             d.custom_icon_file = p;
         }},
    };
    std::string movie = scratch.file("main.swf");
    WriteBytes(movie, fctest::SwfFile(false, 6, fctest::SwfBody(0, 2000, 0, 2000, 0x0C00, 1, {})));
    File("fine-first.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        doc.reset(new FCDocument(&resources));
        doc->movie_file = movie.c_str();
        KZString missing = (scratch.path() + "gone/missing.file").c_str();
        KZString readable = File("fine-first.txt");
        c.set(*doc, missing);
        // Keep the readable entry's own path absolute.
        if (doc->additional_files.GetCount() == 2)
            doc->additional_files[0] = readable;
        reporter = KZRecordingReporter();
        FCInstallerScript script;
        EXPECT_FALSE(FCComposeInstallerScript(*doc, "C:\\x.exe", files, reporter, &script));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], std::string(c.message) + missing.c_str());
        EXPECT_EQ(reporter.types[0], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));

        // The whole generator: the screensaver was built first and is gone again.
        reporter = KZRecordingReporter();
        FCInstallerFiles made;
        EXPECT_FALSE(FCGenerateInstaller(*doc, "C:\\x.exe", resources, reporter, FCBuildOptions(),
                                         &made, &script));
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.messages[0], std::string(c.message) + missing.c_str());
        ASSERT_FALSE(made.screensaver.IsEmpty());
        EXPECT_FALSE(Exists(made.screensaver.c_str()));
        EXPECT_FALSE(Exists(made.launcher.c_str()));
        EXPECT_EQ(reporter.wait_begins, 1);
        EXPECT_EQ(reporter.wait_depth, 0);
    }
}

// A text with a line break would end its directive and start a line of the author's choosing,
// and a name with a folder part or a device name would install somewhere else or nowhere: each
// stops the generator before anything is written, naming the field.
TEST_F(FCInstallerScriptTest, HostileTextsAndNamesStopTheGenerator) {
    struct Case {
        const char* message;
        std::function<void(FCInstallerScriptTest&, FCDocument&)> set;
        const char* output;
    } cases[] = {
        {"Unable to write long_name into the setup script:\nit holds a line break or another "
         "control character",
         [](FCInstallerScriptTest&, FCDocument& d) {
             d.long_name = "Stars\n[Run]\nFilename: \"{cmd}\"";
         }},
        {"Unable to write menu_launch_caption into the setup script:\nit holds a line break or "
         "another control character",
         [](FCInstallerScriptTest&, FCDocument& d) { d.menu_launch_caption = "Run\rit"; }},
        {"Unable to write additional_files into the setup script:\nit holds a line break or "
         "another control character",
         [](FCInstallerScriptTest&, FCDocument& d) {
             d.install_additional_files = true;
             d.additional_files.Add(KZString("C:\\a\tb.txt"));
         }},
        {"Unable to write the setup program's path into the setup script:\nit holds a line break "
         "or another control character",
         [](FCInstallerScriptTest&, FCDocument&) {}, "C:\\Setups\\x\n[Run].exe"},
        // The names are checked before the files are read: neither of these exists.
        {"Unable to use short_name as a file name:\n../../escaped.scr",
         [](FCInstallerScriptTest&, FCDocument& d) { d.short_name = "../../escaped"; }},
        {"Unable to use short_name as a file name:\nCOM1.scr\nits file name is a Windows device",
         [](FCInstallerScriptTest&, FCDocument& d) { d.short_name = "COM1"; }},
        {"Unable to use additional_files as a file name:\nCON.txt",
         [](FCInstallerScriptTest& t, FCDocument& d) {
             d.install_additional_files = true;
             d.additional_files.Add(KZString((t.scratch.path() + "CON.txt").c_str()));
         }},
        {"Unable to use readme_file as a file name:\nread me.",
         [](FCInstallerScriptTest& t, FCDocument& d) {
             d.install_readme = true;
             d.readme_file = (t.scratch.path() + "read me.").c_str();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        doc.reset(new FCDocument(&resources));
        c.set(*this, *doc);
        reporter = KZRecordingReporter();
        FCInstallerScript script;
        EXPECT_FALSE(FCComposeInstallerScript(*doc, c.output ? c.output : "C:\\x.exe", files,
                                              reporter, &script));
        ASSERT_EQ(reporter.messages.size(), 1u);
        // A name's message goes on to say what is wrong with it.
        EXPECT_EQ(reporter.messages[0].rfind(c.message, 0), 0u) << reporter.messages[0];
        EXPECT_EQ(reporter.types[0], unsigned(KZ_MB_OK | KZ_MB_ICONERROR));
    }
}

// A double quote in a quoted parameter is doubled, as the compiler reads it, so that it ends
// nothing: the caption and the target arrive whole.
TEST_F(FCInstallerScriptTest, QuotesInQuotedParametersAreDoubled) {
    doc->menu_custom = true;
    doc->menu_custom_caption = "Say \"hi\"; Flags: x";
    doc->menu_custom_target = "http://example.com/?q=\"a\"";
    doc->end_launch = false;
    doc->end_open_display_properties = true;
    doc->end_open_display_properties_ask = true;
    doc->end_open_display_properties_message = "Open \"Display\"";
    std::string text = Compose();
    EXPECT_NE(text.find("Name: \"{group}\\Say \"\"hi\"\"; Flags: x\"; "
                        "Filename: \"http://example.com/?q=\"\"a\"\"\";\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Description: \"Open \"\"Display\"\"\";"), std::string::npos) << text;
}

TEST_F(FCInstallerScriptTest, GeneratorWritesThePreparedFiles) {
    std::string movie = scratch.file("main.swf");
    WriteBytes(movie, fctest::SwfFile(false, 6, fctest::SwfBody(0, 2000, 0, 2000, 0x0C00, 1, {})));
    doc->movie_file = movie.c_str();
    // A custom large picture of another size, the built-in small one.
    KZPicture* picture = KZPicture::CreatePicture(KZ_PICTURE_RGB, 300, 300);
    std::string custom = scratch.file("big.bmp");
    ASSERT_TRUE(SaveBmp(picture, custom.c_str()));
    picture->Release();
    doc->custom_wizard_image = true;
    doc->wizard_image_file = custom.c_str();
    ASSERT_TRUE(doc->load_wizard_image());

    FCInstallerFiles made;
    FCInstallerScript script;
    ASSERT_TRUE(FCGenerateInstaller(*doc, "C:\\out\\setup.exe", resources, reporter,
                                    FCBuildOptions(), &made, &script));
    EXPECT_TRUE(reporter.messages.empty());
    std::vector<uint8_t> scr = ReadBytes(made.screensaver.c_str());
    ASSERT_GT(scr.size(), stub.size());
    EXPECT_TRUE(std::equal(stub.begin(), stub.end(), scr.begin()));
    EXPECT_EQ(ReadBytes(made.launcher.c_str()), launcher);
    struct {
        const KZString* path;
        int width, height;
    } bitmaps[] = {{&made.wizard_image, 164, 314}, {&made.wizard_small_image, 55, 55}};
    for (const auto& b : bitmaps) {
        std::vector<uint8_t> bmp = ReadBytes(b.path->c_str());
        ASSERT_GT(bmp.size(), 54u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        auto i32 = [&bmp](size_t at) {
            return int32_t(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                           uint32_t(bmp[at + 3]) << 24);
        };
        EXPECT_EQ(i32(18), b.width);
        EXPECT_EQ(i32(22), b.height);
    }
    std::string text = script.text().c_str();
    for (const KZString* p : {&made.screensaver, &made.launcher})
        EXPECT_NE(text.find(std::string("Source: \"") + p->c_str() + "\""), std::string::npos);
    EXPECT_NE(text.find(std::string("WizardImageFile=") + made.wizard_image.c_str() + "\n"),
              std::string::npos);
    EXPECT_NE(text.find(std::string("WizardSmallImageFile=") + made.wizard_small_image.c_str()),
              std::string::npos);
    FCDeleteInstallerFiles(made);
    EXPECT_FALSE(Exists(made.screensaver.c_str()));

    // Without the launcher resource the generator stops and leaves nothing behind.
    FCResourceTable bare;
    bare.set_data(FC_RES_STUB, stub.data(), uint32_t(stub.size()));
    reporter = KZRecordingReporter();
    EXPECT_FALSE(FCGenerateInstaller(*doc, "C:\\out\\setup.exe", bare, reporter, FCBuildOptions(),
                                     &made, &script));
    EXPECT_EQ(reporter.messages.size(), 1u);
    EXPECT_FALSE(Exists(made.screensaver.c_str()));
}

TEST_F(FCInstallerScriptTest, InstallerConstantsExpand) {
    FCInstallerFolders folders;
    folders.windows = "C:\\WINDOWS";
    folders.system = "C:\\WINDOWS\\system32";
    folders.program_files = "C:\\Program Files";
    folders.common_files = "C:\\Program Files\\Common Files";
    EXPECT_STREQ(
        FCExpandInstallerConstants("{pf}\\Acme\\{sys}{win}|{cf}|{PF}|{pf", folders).c_str(),
        "C:\\Program Files\\Acme\\C:\\WINDOWS\\system32C:\\WINDOWS|"
        "C:\\Program Files\\Common Files|{PF}|{pf");
    // A folder whose name holds a constant is not expanded again.
    folders.program_files = "D:\\{sys}";
    EXPECT_STREQ(FCExpandInstallerConstants("{pf}\\x", folders).c_str(), "D:\\{sys}\\x");
    // The machine's own folders carry no trailing separator.
    FCInstallerFolders mine = FCGetInstallerFolders();
    for (const KZString* f :
         {&mine.windows, &mine.system, &mine.program_files, &mine.common_files}) {
        ASSERT_FALSE(f->IsEmpty());
        char last = (*f)[f->GetLength() - 1];
        EXPECT_TRUE(last != '\\' && last != '/') << f->c_str();
    }
    EXPECT_EQ(std::string(FCExpandInstallerConstants("{sys}\\a.scr").c_str()),
              std::string(mine.system.c_str()) + "\\a.scr");
}

} // namespace
