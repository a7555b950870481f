// The stub's payload loading and extraction on real files, under Wine: payloads are built here
// with the core's writer helpers and zlib, so the reader is checked against an independent deflate.
#include "runtime/payload_loader.h"
#include "runtime/runtime_heap.h"
#include "runtime/system_hooks.h"

#include "runtime/core/qvrk_payload_layout.h"

#include <gtest/gtest.h>
#include <mmsystem.h>
#include <zlib.h>

#include "tests/unit/runtime/core/zlib_raw_deflate.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size, uint8_t salt) {
    Bytes data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>((i * 31 + salt + (i >> 7)) & 0xFF);
    return data;
}

void PutText(uint8_t* block, QvrkSettingsText field, const char* text) {
    std::vector<uint16_t> units(text, text + strlen(text));
    qvrk_settings_put_text(block, field, units.data(), units.size());
}

struct TestItem {
    std::string name;
    Bytes data;
    uint32_t quality = 1;
    uint32_t size_mode = 0;
    bool corrupt = false; // compressed data that does not inflate to its size
    bool no_data = false; // a stored size of 0
};

struct TestPayload {
    uint32_t seed = 0x12345678;
    uint32_t flags =
        QVRK_FLAG_COMPRESSED | QVRK_FLAG_SCRAMBLED | QVRK_FLAG_WAKE_KEY | QVRK_FLAG_USER_CAN_MUTE;
    std::vector<TestItem> items;
    std::vector<int32_t> slots{0};
    int32_t settings_file = -1;
    int32_t preview_file = -1;
    // Faults to build in.
    int32_t file_count = -1;           // -1: the number of items
    int32_t slot_count = -1;           // -1: the number of slots
    int settings_extra = 0;            // inflated settings block longer (+) or shorter (-)
    int32_t settings_size = INT32_MIN; // INT32_MIN: the real size
    int32_t payload_offset = -1;       // -1: the real offset
    bool trailer = true;

    Bytes Build() const {
        Bytes file(333, 'M'); // stands in for the stub
        const uint32_t offset = static_cast<uint32_t>(file.size());
        Bytes block(QVRK_SETTINGS_SIZE);
        qvrk_settings_clear(block.data());
        PutText(block.data(), QVRK_TEXT_COMPANY_NAME, "Marqon");
        PutText(block.data(), QVRK_TEXT_LONG_NAME, "Stars");
        PutText(block.data(), QVRK_TEXT_SETTINGS_MESSAGE, "Credits here");
        qvrk_settings_put_labels(block.data(), QVRK_LABELS_ENGLISH);
        QvrkSettingsNumbers n{};
        n.flags = flags;
        n.background_color = 0x00302010;
        n.preview_color = 0x00000040;
        n.file_count = file_count >= 0 ? file_count : static_cast<int32_t>(items.size());
        n.slot_count = slot_count >= 0 ? slot_count : static_cast<int32_t>(slots.size());
        n.settings_file = settings_file;
        n.preview_file = preview_file;
        n.reserved = -1;
        qvrk_settings_put_numbers(block.data(), &n);
        if (settings_extra > 0)
            block.insert(block.end(), settings_extra, 0);
        else if (settings_extra < 0)
            block.resize(block.size() + settings_extra);
        Bytes deflated = ZlibRawDeflate(block);
        qvrk_settings_scramble(deflated.data(), deflated.size(), seed);

        uint8_t header[QVRK_HEADER_SIZE];
        qvrk_write_header(header, seed,
                          settings_size != INT32_MIN ? settings_size
                                                     : static_cast<int32_t>(deflated.size()));
        file.insert(file.end(), header, header + sizeof(header));
        file.insert(file.end(), deflated.begin(), deflated.end());
        for (int32_t slot : slots) {
            uint8_t raw[4];
            qvrk_put_i32(raw, slot);
            file.insert(file.end(), raw, raw + 4);
        }
        for (size_t i = 0; i < items.size(); ++i) {
            const TestItem& item = items[i];
            Bytes data = (flags & QVRK_FLAG_COMPRESSED) ? ZlibRawDeflate(item.data) : item.data;
            if (item.corrupt)
                data.resize(data.size() / 2);
            if (item.no_data)
                data.clear();
            if (flags & QVRK_FLAG_SCRAMBLED)
                qvrk_scramble(qvrk_data_seed(seed), data.data(), data.size());
            QvrkEntryRecord record;
            qvrk_record_clear(&record);
            record.width = 640;
            record.height = 480;
            record.stored_size = static_cast<uint32_t>(data.size());
            record.original_size = static_cast<uint32_t>(item.data.size());
            record.size_mode = item.size_mode;
            record.quality = item.quality;
            // Raw copy, so that crafted names reach the file as they stand.
            strncpy(record.name, item.name.c_str(), sizeof(record.name) - 1);
            uint8_t raw[QVRK_RECORD_SIZE];
            qvrk_record_write(&record, seed, static_cast<uint32_t>(i), raw);
            file.insert(file.end(), raw, raw + sizeof(raw));
            file.insert(file.end(), data.begin(), data.end());
        }
        uint8_t trailer_bytes[QVRK_TRAILER_SIZE];
        qvrk_write_trailer(trailer_bytes,
                           payload_offset >= 0 ? static_cast<uint32_t>(payload_offset) : offset);
        if (!trailer)
            trailer_bytes[0] = 'X';
        file.insert(file.end(), trailer_bytes, trailer_bytes + sizeof(trailer_bytes));
        return file;
    }
};

std::string TempDirectory() {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    return path;
}

bool WriteWholeFile(const std::string& path, const Bytes& data) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(f);
    return written == data.size();
}

bool ReadWholeFile(const std::string& path, Bytes* data) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    data->resize(GetFileSize(f, nullptr));
    DWORD got = 0;
    ReadFile(f, data->data(), static_cast<DWORD>(data->size()), &got, nullptr);
    CloseHandle(f);
    return got == data->size();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Leftovers of an earlier, interrupted run would keep the folder alive.
void EmptyFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

class PayloadLoader : public ::testing::Test {
protected:
    void SetUp() override {
        HeapInitialize();
        folder_ = TempDirectory() + "swfsaver";
        screensaver_ = TempDirectory() + "payload loader test.scr";
        EmptyFolder(folder_);
    }
    void TearDown() override {
        if (config_) {
            RemoveExtractedFiles(config_);
            FreeRuntimeConfig(config_);
        }
        DeleteFileA(screensaver_.c_str());
    }
    bool Load(const TestPayload& payload) {
        EXPECT_TRUE(WriteWholeFile(screensaver_, payload.Build()));
        config_ = CreateRuntimeConfig();
        return LoadPayload(config_, screensaver_.c_str());
    }
    std::string folder_;
    std::string screensaver_;
    RuntimeConfig* config_ = nullptr;
};

TEST_F(PayloadLoader, CreatesConfigWithItsInitialValuesAndFolder) {
    config_ = CreateRuntimeConfig();
    ASSERT_NE(nullptr, config_);
    EXPECT_EQ(folder_, config_->temporary_folder);
    EXPECT_TRUE(Exists(folder_));
    EXPECT_EQ(QVRK_RUN_NONE, config_->run_mode);
    EXPECT_TRUE(config_->data_compressed);
    EXPECT_FALSE(config_->data_scrambled);
    EXPECT_EQ(0x000000FFu, config_->preview_color);
    EXPECT_EQ(-1, config_->sound);
    EXPECT_EQ(-1, config_->quality);
    EXPECT_TRUE(config_->wake_on_mouse_move && config_->hide_cursor &&
                config_->quality_option_shown);
    // The stub alone: no payload, nothing changes, and cleaning up removes the folder.
    EXPECT_FALSE(LoadPayload(config_, screensaver_.c_str())); // no such file
    RemoveExtractedFiles(config_);
    EXPECT_FALSE(Exists(folder_));
}

TEST_F(PayloadLoader, ReadsSettingsRecordsAndReferences) {
    TestPayload p;
    p.flags |= QVRK_FLAG_MUTE_SOUND;
    p.items = {{"intro.swf", Pattern(5000, 1), 2, 3},
               {"", Pattern(10, 2), 0, 3},
               {"prev.swf", Pattern(70, 3), 0, 3}};
    p.slots = {0, 1};
    p.settings_file = 1;
    p.preview_file = 2;
    ASSERT_TRUE(Load(p));
    EXPECT_STREQ("Marqon", config_->company_name);
    EXPECT_STREQ("Stars", config_->screensaver_name);
    EXPECT_STREQ("Credits here", config_->credits_text);
    EXPECT_STREQ("&Quality:", config_->quality_label);
    EXPECT_STREQ("Medium", config_->quality_names[1]);
    EXPECT_STREQ("Sound", config_->sound_label);
    EXPECT_EQ(0x12345678u, config_->seed);
    EXPECT_TRUE(config_->data_compressed && config_->data_scrambled);
    EXPECT_TRUE(config_->wake_on_key);
    EXPECT_FALSE(config_->wake_on_button || config_->wake_on_mouse_move || config_->hide_cursor);
    EXPECT_TRUE(config_->sound_option_shown);
    EXPECT_FALSE(config_->quality_option_shown);
    EXPECT_EQ(0x00302010u, config_->background_color);
    EXPECT_EQ(0x00000040u, config_->preview_color);
    EXPECT_EQ(0, config_->sound);   // bit 7: sound off by default
    EXPECT_EQ(2, config_->quality); // from the slot 0 movie
    ASSERT_EQ(3, config_->item_count);
    ASSERT_EQ(2, config_->slot_count);
    EXPECT_EQ(&config_->items[0], config_->slots[0]);
    EXPECT_EQ(&config_->items[1], config_->slots[1]);
    EXPECT_EQ(&config_->items[1], config_->settings_file);
    EXPECT_EQ(&config_->items[2], config_->preview_file);
    EXPECT_EQ(1, config_->items[2].size_mode); // a preview that is not the main movie
    EXPECT_EQ(3, config_->items[0].size_mode);
    EXPECT_EQ(640, config_->items[0].width);
    EXPECT_EQ(480, config_->items[0].height);
    EXPECT_EQ(5000, config_->items[0].unpacked_size);
    EXPECT_STREQ("intro.swf", config_->items[0].stored_name);
    EXPECT_STREQ("", config_->items[1].stored_name);
    // Data offsets point right behind each record.
    EXPECT_GT(config_->items[0].data_offset, 333 + 8 + QVRK_RECORD_SIZE);
    EXPECT_EQ(config_->items[1].data_offset,
              config_->items[0].data_offset + config_->items[0].stored_size + QVRK_RECORD_SIZE);
}

TEST_F(PayloadLoader, StoredSoundSettingIsKeptAndEmptyReferencesAreDropped) {
    TestPayload p;
    p.items = {{"a.swf", Pattern(100, 1)}, {"empty.swf", {}}};
    p.items[1].no_data = true;
    p.settings_file = 1; // stored size 0
    p.preview_file = 0;  // the main movie keeps its size mode
    config_ = CreateRuntimeConfig();
    config_->sound = 1;
    config_->quality = 0;
    ASSERT_TRUE(WriteWholeFile(screensaver_, p.Build()));
    ASSERT_TRUE(LoadPayload(config_, screensaver_.c_str()));
    EXPECT_EQ(1, config_->sound);
    EXPECT_EQ(0, config_->quality);
    EXPECT_EQ(nullptr, config_->settings_file);
    EXPECT_EQ(&config_->items[0], config_->preview_file);
    EXPECT_EQ(0, config_->items[0].size_mode);
}

struct BrokenCase {
    const char* what;
    void (*spoil)(TestPayload*);
};

TEST_F(PayloadLoader, RejectsBrokenPayloads) {
    const BrokenCase cases[] = {
        {"no trailer", [](TestPayload* p) { p->trailer = false; }},
        {"offset 0", [](TestPayload* p) { p->payload_offset = 0; }},
        {"offset past the end", [](TestPayload* p) { p->payload_offset = 0x7FFFFFF0; }},
        {"settings size 0", [](TestPayload* p) { p->settings_size = 0; }},
        {"settings size negative", [](TestPayload* p) { p->settings_size = -1000; }},
        {"settings size 2637", [](TestPayload* p) { p->settings_size = 2637; }},
        {"settings inflate to 1611", [](TestPayload* p) { p->settings_extra = -1; }},
        {"settings inflate to 1613", [](TestPayload* p) { p->settings_extra = 1; }},
        {"file count 0", [](TestPayload* p) { p->file_count = 0; }},
        {"huge file count", [](TestPayload* p) { p->file_count = 0x7FFFFFFF; }},
        {"slot count 0", [](TestPayload* p) { p->slots.clear(); }},
        {"slot outside the files", [](TestPayload* p) { p->slots = {1}; }},
        {"negative slot", [](TestPayload* p) { p->slots = {-1}; }},
        {"preview outside the files", [](TestPayload* p) { p->preview_file = 1; }},
        {"settings file outside", [](TestPayload* p) { p->settings_file = 5; }},
        {"data past the end", [](TestPayload* p) { p->file_count = 2; }},
    };
    for (const BrokenCase& c : cases) {
        TestPayload p;
        p.items = {{"a.swf", Pattern(100, 1)}};
        c.spoil(&p);
        RuntimeConfig* config = CreateRuntimeConfig();
        ASSERT_TRUE(WriteWholeFile(screensaver_, p.Build()));
        EXPECT_FALSE(LoadPayload(config, screensaver_.c_str())) << c.what;
        // Whatever was read stays consistent: extraction and cleanup work on it.
        ExtractAllItems(config);
        RemoveExtractedFiles(config);
        FreeRuntimeConfig(config);
    }
    EXPECT_FALSE(Exists(folder_));
}

TEST_F(PayloadLoader, ExtractsUnderStoredNamesAndNumbersTheRest) {
    TestPayload p;
    p.items = {{"intro.swf", Pattern(20000, 1)}, {"", Pattern(300, 2)}, {"", Pattern(1, 3)}};
    p.slots = {0, 1, 2};
    config_ = CreateRuntimeConfig();
    // An older file of that name is replaced.
    ASSERT_TRUE(WriteWholeFile(folder_ + "\\intro.swf", Pattern(99999, 9)));
    ASSERT_TRUE(WriteWholeFile(screensaver_, p.Build()));
    ASSERT_TRUE(LoadPayload(config_, screensaver_.c_str()));
    ASSERT_TRUE(ExtractAllItems(config_));
    Bytes data;
    EXPECT_EQ(folder_ + "\\intro.swf", config_->items[0].extracted_path);
    ASSERT_TRUE(ReadWholeFile(config_->items[0].extracted_path, &data));
    EXPECT_EQ(p.items[0].data, data);
    std::string second = config_->items[1].extracted_path;
    std::string third = config_->items[2].extracted_path;
    ASSERT_EQ(0u, second.rfind(folder_ + "\\!qvr", 0));
    unsigned long n1 = std::stoul(second.substr(folder_.size() + 5));
    unsigned long n2 = std::stoul(third.substr(folder_.size() + 5));
    EXPECT_EQ(n1 + 1, n2);
    ASSERT_TRUE(ReadWholeFile(third, &data));
    EXPECT_EQ(p.items[2].data, data);
    // Already extracted items are not written again.
    DeleteFileA(second.c_str());
    EXPECT_TRUE(ExtractAllItems(config_));
    EXPECT_FALSE(Exists(second));

    RemoveExtractedFiles(config_);
    EXPECT_FALSE(Exists(folder_ + "\\intro.swf"));
    EXPECT_FALSE(Exists(third));
    EXPECT_FALSE(Exists(folder_));
}

TEST_F(PayloadLoader, CopiesUncompressedScrambledDataAcrossChunks) {
    for (uint32_t flags : {QVRK_FLAG_SCRAMBLED, 0u}) {
        TestPayload p;
        p.flags = flags;
        p.items = {{"big.swf", Pattern(30000, 5)}, {"tail.bin", Pattern(12000, 6)}};
        p.slots = {0, 1};
        RuntimeConfig* config = CreateRuntimeConfig();
        ASSERT_TRUE(WriteWholeFile(screensaver_, p.Build()));
        ASSERT_TRUE(LoadPayload(config, screensaver_.c_str()));
        EXPECT_FALSE(config->data_compressed);
        ASSERT_TRUE(ExtractAllItems(config));
        Bytes data;
        ASSERT_TRUE(ReadWholeFile(config->items[0].extracted_path, &data));
        EXPECT_EQ(p.items[0].data, data) << flags;
        ASSERT_TRUE(ReadWholeFile(config->items[1].extracted_path, &data));
        EXPECT_EQ(p.items[1].data, data) << flags;
        RemoveExtractedFiles(config);
        FreeRuntimeConfig(config);
    }
}

TEST_F(PayloadLoader, ShortCopyFailsAndLeavesNoFile) {
    TestPayload p;
    p.flags = 0;
    p.items = {{"cut.swf", Pattern(30000, 5)}};
    ASSERT_TRUE(Load(p));
    // The file ends before the item does, as when the program file is cut short.
    config_->items[0].stored_size += 50;
    EXPECT_FALSE(ExtractItem(config_, &config_->items[0]));
    EXPECT_STREQ("", config_->items[0].extracted_path);
    EXPECT_FALSE(Exists(folder_ + "\\cut.swf"));
    // Nothing to extract at all.
    config_->items[0].stored_size = 0;
    EXPECT_FALSE(ExtractItem(config_, &config_->items[0]));
}

TEST_F(PayloadLoader, FailureStopsTheWalkAndCleanupStillDeletes) {
    TestPayload p;
    p.items = {
        {"one.swf", Pattern(500, 1)}, {"two.swf", Pattern(4000, 2)}, {"three.swf", Pattern(50, 3)}};
    p.items[1].corrupt = true;
    p.slots = {0, 1, 2};
    ASSERT_TRUE(Load(p));
    EXPECT_FALSE(ExtractAllItems(config_));
    EXPECT_TRUE(Exists(folder_ + "\\one.swf"));
    EXPECT_FALSE(Exists(folder_ + "\\two.swf")); // the broken file is deleted again
    EXPECT_FALSE(Exists(folder_ + "\\three.swf"));
    RemoveExtractedFiles(config_);
    EXPECT_FALSE(Exists(folder_ + "\\one.swf"));
    EXPECT_FALSE(Exists(folder_));
}

TEST_F(PayloadLoader, NamesWithFolderPartsAreNotUsed) {
    TestPayload p;
    const char* names[] = {"..\\evil.swf", "../evil2.swf", "sub\\x.swf", "C:evil3.swf", ".", ".."};
    for (const char* name : names)
        p.items.push_back({name, Pattern(64, 7)});
    p.slots = {0, 1, 2, 3, 4, 5};
    ASSERT_TRUE(Load(p));
    ASSERT_TRUE(ExtractAllItems(config_));
    for (int i = 0; i < config_->item_count; ++i) {
        EXPECT_STREQ("", config_->items[i].stored_name) << names[i];
        EXPECT_EQ(0u, std::string(config_->items[i].extracted_path).rfind(folder_ + "\\!qvr", 0));
    }
    const std::string temp = TempDirectory();
    EXPECT_FALSE(Exists(temp + "evil.swf"));
    EXPECT_FALSE(Exists(temp + "evil2.swf"));
    EXPECT_FALSE(Exists(folder_ + "\\sub"));
}

TEST(SystemHooks, PasswordAndMuteFailSilently) {
    // Wine reports the NT family: the system checks the password, the screensaver never asks.
    EXPECT_TRUE(VerifySaverPassword(nullptr));
    // System libraries come from the system folder only.
    EXPECT_NE(nullptr, LoadSystemLibrary("KERNEL32.DLL"));
    EXPECT_EQ(nullptr, LoadSystemLibrary("no-such-library.dll"));
    bool muted = true;
    if (mixerGetNumDevs() == 0) {
        EXPECT_FALSE(GetMasterMute(&muted));
        EXPECT_TRUE(muted); // untouched
        bool previous = true;
        EXPECT_FALSE(SetMasterMute(true, &previous));
        EXPECT_TRUE(previous);
    } else if (GetMasterMute(&muted)) {
        bool previous = !muted;
        ASSERT_TRUE(SetMasterMute(!muted, &previous));
        EXPECT_EQ(muted, previous);
        bool now = muted;
        EXPECT_TRUE(GetMasterMute(&now));
        EXPECT_EQ(!muted, now);
        SetMasterMute(muted, nullptr);
    }
    SetSaverRunningFlag(true);
    SetSaverRunningFlag(false);
}

} // namespace
