#include "runtime/core/qvrk_payload_reader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/unit/runtime/core/zlib_raw_deflate.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The test writes payloads with its own offsets and zlib, so that the reader is checked against
// the byte table rather than against the core's own writer helpers.
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Append32(Bytes& b, uint32_t v) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
}

void PutText(Bytes& block, size_t offset, const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        block[offset + 2 * i] = static_cast<uint8_t>(text[i]);
        block[offset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
}

struct Item {
    Bytes data;
    std::string name;
    uint32_t width = 0, height = 0, size_mode = 0, quality = 1;
    int64_t claimed_size = -1; // the record's original size; -1: the data's own
};

struct PayloadShape {
    uint32_t seed = 0x2468ACE1u;
    uint32_t flags = QVRK_FLAG_COMPRESSED | QVRK_FLAG_SCRAMBLED | QVRK_FLAG_WAKE_KEY;
    std::vector<Item> items;
    std::vector<int32_t> slots = {0};
    int32_t settings_file = -1, preview_file = -1;
    int32_t file_count = -100; // -100: the number of items
    int32_t slot_count = -100; // -100: the number of slots
    size_t block_size = QVRK_SETTINGS_SIZE;
    size_t settings_padding = 0; // bytes after the deflate stream, counted in settings_size
    uint32_t settings_seed_delta = 0;
    uint32_t record_seed_delta = 0;
    size_t stub_size = 1000;
};

Bytes Build(const PayloadShape& s) {
    Bytes file(s.stub_size, 0xCC);
    Bytes block(s.block_size, 0);
    PutText(block, 0, u"Marq\u00f6n");
    PutText(block, 202, u"Ocean Waves");
    PutText(block, 404, u"Credits go here.");
    PutText(block, 1430, u"&Quality:");
    if (s.block_size >= QVRK_SETTINGS_SIZE) {
        Put32(block, 1580, s.flags);
        Put32(block, 1584, 0x00102030);
        Put32(block, 1588, 0x000000FF);
        Put32(block, 1592,
              s.file_count == -100 ? uint32_t(s.items.size()) : uint32_t(s.file_count));
        Put32(block, 1596,
              s.slot_count == -100 ? uint32_t(s.slots.size()) : uint32_t(s.slot_count));
        Put32(block, 1600, uint32_t(s.settings_file));
        Put32(block, 1604, uint32_t(s.preview_file));
        Put32(block, 1608, 0xFFFFFFFFu);
    }
    Bytes packed = ZlibRawDeflate(block);
    packed.resize(packed.size() + s.settings_padding, 0x5A);
    qvrk_scramble(s.seed * 9 + s.settings_seed_delta, packed.data(), packed.size());
    Append32(file, s.seed);
    Append32(file, uint32_t(packed.size()));
    file.insert(file.end(), packed.begin(), packed.end());
    for (int32_t slot : s.slots)
        Append32(file, uint32_t(slot));
    for (size_t i = 0; i < s.items.size(); ++i) {
        const Item& item = s.items[i];
        Bytes data = (s.flags & QVRK_FLAG_COMPRESSED) ? ZlibRawDeflate(item.data) : item.data;
        if (s.flags & QVRK_FLAG_SCRAMBLED)
            qvrk_scramble(s.seed, data.data(), data.size());
        Bytes record(QVRK_RECORD_SIZE, 0);
        Put32(record, 0, item.width);
        Put32(record, 4, item.height);
        Put32(record, 8, uint32_t(data.size()));
        Put32(record, 12, uint32_t(item.claimed_size < 0 ? item.data.size() : item.claimed_size));
        Put32(record, 16, item.size_mode);
        Put32(record, 20, item.quality);
        memcpy(record.data() + 24, item.name.data(), std::min<size_t>(item.name.size(), 100));
        qvrk_scramble(s.seed * 9 + uint32_t(i) + 1 + s.record_seed_delta, record.data(),
                      record.size());
        file.insert(file.end(), record.begin(), record.end());
        file.insert(file.end(), data.begin(), data.end());
    }
    file.insert(file.end(), {'Q', 'V', 'R', 'K'});
    Append32(file, uint32_t(s.stub_size));
    return file;
}

Bytes Pattern(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = (i % 64 < 40) ? static_cast<uint8_t>("FWS movie data "[i % 15])
                             : static_cast<uint8_t>(rng());
    return b;
}

PayloadShape ThreeItems() {
    PayloadShape s;
    s.items = {{Pattern(50000, 1), "intro.swf", 550, 400, 2, 2},
               {Pattern(7000, 2), "music.mp3", 0, 0, 2, 2},
               {Pattern(3000, 3), "", 120, 90, 2, 2}};
    s.slots = {0, 1, 1};
    s.settings_file = 2;
    s.preview_file = 0;
    return s;
}

// Holds what a reader needs; the entry table is sized from the checked counts.
struct Reader {
    std::unique_ptr<QvrkInflater> work = std::make_unique<QvrkInflater>();
    std::unique_ptr<QvrkPayload> payload = std::make_unique<QvrkPayload>();
    std::vector<QvrkEntry> entries;
    Bytes file;

    QvrkPayloadResult Open(Bytes bytes) {
        file = std::move(bytes);
        QvrkSource source;
        qvrk_source_memory(&source, file.data(), file.size());
        QvrkPayloadResult r = qvrk_payload_open(payload.get(), &source, work.get());
        if (r != QVRK_PAYLOAD_OK)
            return r;
        entries.resize(size_t(payload->numbers.file_count));
        return qvrk_payload_read_entries(payload.get(), entries.data(), uint32_t(entries.size()));
    }

    Bytes Decode(uint32_t index, QvrkPayloadResult* result = nullptr) {
        Bytes out(qvrk_payload_item_size(payload.get(), index));
        Bytes scratch(entries[index].record.stored_size);
        QvrkPayloadResult r = qvrk_payload_decode_item(payload.get(), index, work.get(), out.data(),
                                                       out.size(), scratch.data(), scratch.size());
        if (result)
            *result = r;
        return out;
    }
};

TEST(PayloadReader, ReadsBackWhatWasBuiltForEveryDataFlag) {
    const uint32_t data_flags[] = {0, QVRK_FLAG_COMPRESSED, QVRK_FLAG_SCRAMBLED,
                                   QVRK_FLAG_COMPRESSED | QVRK_FLAG_SCRAMBLED};
    for (uint32_t f : data_flags) {
        SCOPED_TRACE(f);
        PayloadShape s = ThreeItems();
        s.flags = f | QVRK_FLAG_HIDE_CURSOR | QVRK_FLAG_USER_CAN_SET_QUALITY;
        Reader r;
        ASSERT_EQ(r.Open(Build(s)), QVRK_PAYLOAD_OK);
        const QvrkPayload& p = *r.payload;
        EXPECT_EQ(p.payload_offset, 1000u);
        EXPECT_EQ(p.seed, s.seed);
        EXPECT_EQ(p.numbers.flags, s.flags);
        EXPECT_EQ(qvrk_payload_compressed(&p), (f & QVRK_FLAG_COMPRESSED) != 0);
        EXPECT_EQ(qvrk_payload_scrambled(&p), (f & QVRK_FLAG_SCRAMBLED) != 0);
        EXPECT_EQ(p.numbers.background_color, 0x00102030u);
        EXPECT_EQ(p.numbers.preview_color, 0xFFu);
        EXPECT_EQ(p.numbers.file_count, 3);
        EXPECT_EQ(p.numbers.slot_count, 3);
        EXPECT_EQ(p.settings_file, 2);
        EXPECT_EQ(p.preview_file, 0);

        uint16_t text[200];
        size_t n = qvrk_settings_copy_text(p.settings, QVRK_TEXT_COMPANY_NAME, text, 200);
        EXPECT_EQ(std::u16string(text, text + n), u"Marq\u00f6n");
        n = qvrk_settings_copy_text(p.settings, QVRK_TEXT_LONG_NAME, text, 200);
        EXPECT_EQ(std::u16string(text, text + n), u"Ocean Waves");

        int32_t slots[3];
        ASSERT_EQ(qvrk_payload_read_slots(&p, slots, 3), QVRK_PAYLOAD_OK);
        EXPECT_EQ(slots[0], 0);
        EXPECT_EQ(slots[1], 1);
        EXPECT_EQ(slots[2], 1);
        EXPECT_EQ(qvrk_payload_read_slots(&p, slots, 2), QVRK_PAYLOAD_CAPACITY);

        for (uint32_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const QvrkEntry& e = r.entries[i];
            EXPECT_EQ(e.record.width, s.items[i].width);
            EXPECT_EQ(e.record.height, s.items[i].height);
            EXPECT_EQ(e.record.original_size, s.items[i].data.size());
            if (!(f & QVRK_FLAG_COMPRESSED)) {
                EXPECT_EQ(e.record.stored_size, s.items[i].data.size());
            }
            EXPECT_EQ(e.record.size_mode, 2u);
            EXPECT_EQ(e.record.quality, 2u);
            EXPECT_EQ(std::string(e.record.name), s.items[i].name);
            EXPECT_EQ(qvrk_entry_has_name(&e), !s.items[i].name.empty());
            if (i > 0) {
                EXPECT_EQ(e.data_offset, r.entries[i - 1].data_offset +
                                             r.entries[i - 1].record.stored_size +
                                             QVRK_RECORD_SIZE);
            }
            QvrkPayloadResult result;
            EXPECT_TRUE(r.Decode(i, &result) == s.items[i].data);
            EXPECT_EQ(result, QVRK_PAYLOAD_OK);
        }
    }
}

TEST(PayloadReader, CallbackSourceSeesOnlyOffsetsInsideTheFile) {
    Bytes file = Build(ThreeItems());
    struct Context {
        const Bytes* file;
        int calls = 0;
        bool outside = false;
    } ctx{&file};
    auto read_at = [](void* c, uint64_t offset, void* buffer, uint32_t size) -> int {
        auto* x = static_cast<Context*>(c);
        ++x->calls;
        if (offset + size > x->file->size()) {
            x->outside = true;
            return 0;
        }
        memcpy(buffer, x->file->data() + offset, size);
        return 1;
    };
    QvrkSource source;
    qvrk_source_callback(&source, read_at, &ctx, file.size());
    auto work = std::make_unique<QvrkInflater>();
    auto payload = std::make_unique<QvrkPayload>();
    ASSERT_EQ(qvrk_payload_open(payload.get(), &source, work.get()), QVRK_PAYLOAD_OK);
    QvrkEntry entries[3];
    ASSERT_EQ(qvrk_payload_read_entries(payload.get(), entries, 2), QVRK_PAYLOAD_CAPACITY);
    ASSERT_EQ(qvrk_payload_read_entries(payload.get(), entries, 3), QVRK_PAYLOAD_OK);
    Bytes out(qvrk_payload_item_size(payload.get(), 1));
    // Compressed data from a callback needs scratch room for the stored bytes.
    Bytes small(entries[1].record.stored_size - 1);
    EXPECT_EQ(qvrk_payload_decode_item(payload.get(), 1, work.get(), out.data(), out.size(),
                                       small.data(), small.size()),
              QVRK_PAYLOAD_BAD_BUFFER);
    Bytes scratch(entries[1].record.stored_size);
    EXPECT_EQ(qvrk_payload_decode_item(payload.get(), 1, work.get(), out.data(), out.size(),
                                       scratch.data(), scratch.size()),
              QVRK_PAYLOAD_OK);
    EXPECT_TRUE(out == ThreeItems().items[1].data);
    EXPECT_GT(ctx.calls, 0);
    EXPECT_FALSE(ctx.outside);
}

TEST(PayloadReader, DecodeRefusesWrongBuffersAndBadItemData) {
    PayloadShape s = ThreeItems();
    Reader r;
    ASSERT_EQ(r.Open(Build(s)), QVRK_PAYLOAD_OK);
    Bytes out(s.items[0].data.size() - 1);
    Bytes scratch(r.entries[0].record.stored_size);
    EXPECT_EQ(qvrk_payload_decode_item(r.payload.get(), 0, r.work.get(), out.data(), out.size(),
                                       scratch.data(), scratch.size()),
              QVRK_PAYLOAD_BAD_BUFFER);
    EXPECT_EQ(qvrk_payload_decode_item(r.payload.get(), 3, r.work.get(), out.data(), out.size(),
                                       scratch.data(), scratch.size()),
              QVRK_PAYLOAD_BAD_BUFFER);

    // Damage the first item's data in the file: the reader reports it, and only it.
    Bytes file = Build(s);
    size_t data_at = size_t(r.entries[0].data_offset) + 10;
    file[data_at] ^= 0xFF;
    file[data_at + 1] ^= 0x55;
    Reader damaged;
    ASSERT_EQ(damaged.Open(file), QVRK_PAYLOAD_OK);
    QvrkPayloadResult result;
    damaged.Decode(0, &result);
    EXPECT_EQ(result, QVRK_PAYLOAD_BAD_ITEM_DATA);
    EXPECT_TRUE(damaged.Decode(1, &result) == s.items[1].data);
    EXPECT_EQ(result, QVRK_PAYLOAD_OK);
}

TEST(PayloadReader, SizeBeyondWhatTheStoredBytesCanInflateToIsRefused) {
    // A hostile file may claim gigabytes for a few stored bytes; the stub and the CLI allocate
    // the claimed size only when deflate could reach it (1032:1 plus 64 bytes).
    PayloadShape s;
    s.items = {{Pattern(3000, 6), "claim.swf"}};
    Reader plain;
    ASSERT_EQ(plain.Open(Build(s)), QVRK_PAYLOAD_OK);
    const int64_t stored = plain.entries[0].record.stored_size;
    const struct {
        int64_t claimed;
        bool possible;
    } cases[] = {{stored * 1032 + 64, true}, {stored * 1032 + 65, false}, {0xFFFFFFFF, false}};
    for (const auto& c : cases) {
        s.items[0].claimed_size = c.claimed;
        Reader r;
        ASSERT_EQ(r.Open(Build(s)), QVRK_PAYLOAD_OK) << c.claimed;
        EXPECT_EQ(qvrk_payload_item_size_possible(r.payload.get(), 0) != 0, c.possible)
            << c.claimed;
    }
    // Stored items are never inflated, so any size is their stored size.
    s.flags = 0;
    s.items[0].claimed_size = 0xFFFFFFFF;
    Reader stored_only;
    ASSERT_EQ(stored_only.Open(Build(s)), QVRK_PAYLOAD_OK);
    EXPECT_TRUE(qvrk_payload_item_size_possible(stored_only.payload.get(), 0));
}

TEST(PayloadReader, SettingsAndPreviewWithoutDataOrNegativeCountAsNone) {
    PayloadShape s = ThreeItems();
    s.items[2].data.clear(); // stored as an empty stream of 2 bytes when compressed
    s.flags = 0;             // uncompressed: stored size 0
    s.preview_file = -7;
    Reader r;
    ASSERT_EQ(r.Open(Build(s)), QVRK_PAYLOAD_OK);
    EXPECT_EQ(r.payload->settings_file, -1);
    EXPECT_EQ(r.payload->preview_file, -1);
}

TEST(PayloadReader, StoredNamesWithFoldersAreNoNames) {
    PayloadShape s;
    s.flags = 0;
    s.items = {{Pattern(10, 1), "..\\..\\autoexec.bat"},
               {Pattern(10, 2), "C:x.swf"},
               {Pattern(10, 3), ".."},
               {Pattern(10, 4), "ok.swf"}};
    s.slots = {0, 1, 2, 3};
    Reader r;
    ASSERT_EQ(r.Open(Build(s)), QVRK_PAYLOAD_OK);
    EXPECT_FALSE(qvrk_entry_has_name(&r.entries[0]));
    EXPECT_FALSE(qvrk_entry_has_name(&r.entries[1]));
    EXPECT_FALSE(qvrk_entry_has_name(&r.entries[2]));
    EXPECT_TRUE(qvrk_entry_has_name(&r.entries[3]));
}

TEST(PayloadReader, AcceptsTheLimitsOfTheSettingsSize) {
    PayloadShape s = ThreeItems();
    // The deflate stream is followed by filler up to exactly 2,636 stored bytes.
    PayloadShape wide = s;
    Bytes probe = Build(s);
    uint32_t natural = uint32_t(probe[1004]) | uint32_t(probe[1005]) << 8;
    wide.settings_padding = QVRK_SETTINGS_STORED_MAX - natural;
    Reader r;
    ASSERT_EQ(r.Open(Build(wide)), QVRK_PAYLOAD_OK);
    EXPECT_EQ(r.payload->settings_stored_size, QVRK_SETTINGS_STORED_MAX);
    EXPECT_TRUE(r.Decode(0) == s.items[0].data);
}

// Each reading check, one crafted file apiece.
TEST(PayloadReader, RefusesEachMalformedPayload) {
    struct Case {
        const char* what;
        std::function<Bytes()> make;
        QvrkPayloadResult result;
    };
    auto base = [] { return Build(ThreeItems()); };
    auto with = [](std::function<void(PayloadShape&)> change) {
        return [change] {
            PayloadShape s = ThreeItems();
            change(s);
            return Build(s);
        };
    };
    auto set32 = [](Bytes f, size_t at, uint32_t v) {
        Put32(f, at, v);
        return f;
    };
    const Case cases[] = {
        {"empty file", [] { return Bytes(); }, QVRK_PAYLOAD_NO_TRAILER},
        {"seven bytes", [] { return Bytes{'Q', 'V', 'R', 'K', 0, 0, 0}; }, QVRK_PAYLOAD_NO_TRAILER},
        {"stub alone", [] { return Bytes(32768, 0x90); }, QVRK_PAYLOAD_NO_TRAILER},
        {"magic byte order",
         [&] {
             Bytes f = base();
             std::swap(f[f.size() - 8], f[f.size() - 7]);
             return f;
         },
         QVRK_PAYLOAD_NO_TRAILER},
        {"offset 0",
         [&] {
             Bytes f = base();
             return set32(f, f.size() - 4, 0);
         },
         QVRK_PAYLOAD_BAD_OFFSET},
        {"offset past the end",
         [&] {
             Bytes f = base();
             return set32(f, f.size() - 4, uint32_t(f.size() + 10));
         },
         QVRK_PAYLOAD_BAD_OFFSET},
        {"offset at the trailer",
         [&] {
             Bytes f = base();
             return set32(f, f.size() - 4, uint32_t(f.size() - 8));
         },
         QVRK_PAYLOAD_BAD_OFFSET},
        {"offset without room for the header",
         [&] {
             Bytes f = base();
             return set32(f, f.size() - 4, uint32_t(f.size() - 12));
         },
         QVRK_PAYLOAD_BAD_OFFSET},
        {"settings size 0", [&] { return set32(base(), 1004, 0); }, QVRK_PAYLOAD_BAD_SETTINGS_SIZE},
        {"settings size -1", [&] { return set32(base(), 1004, 0xFFFFFFFFu); },
         QVRK_PAYLOAD_BAD_SETTINGS_SIZE},
        {"settings size 2637", [&] { return set32(base(), 1004, 2637); },
         QVRK_PAYLOAD_BAD_SETTINGS_SIZE},
        {"settings past the file",
         [&] {
             PayloadShape s;
             s.items = {{Pattern(5, 1), "a"}};
             Bytes f = Build(s);
             return set32(f, 1004, uint32_t(f.size() - 1000));
         },
         QVRK_PAYLOAD_BAD_SETTINGS_SIZE},
        {"settings block of 1611 bytes", with([](PayloadShape& s) { s.block_size = 1611; }),
         QVRK_PAYLOAD_BAD_SETTINGS},
        {"settings block of 1613 bytes", with([](PayloadShape& s) { s.block_size = 1613; }),
         QVRK_PAYLOAD_BAD_SETTINGS},
        {"settings scrambled with the data seed",
         with([](PayloadShape& s) { s.settings_seed_delta = s.seed - s.seed * 9; }),
         QVRK_PAYLOAD_BAD_SETTINGS},
        {"settings stream cut short",
         [&] {
             Bytes f = base();
             uint32_t size = uint32_t(f[1004]) | uint32_t(f[1005]) << 8;
             return set32(f, 1004, size - 2);
         },
         QVRK_PAYLOAD_BAD_SETTINGS},
        {"file count 0", with([](PayloadShape& s) { s.file_count = 0; }), QVRK_PAYLOAD_BAD_COUNTS},
        {"file count -1", with([](PayloadShape& s) { s.file_count = -1; }),
         QVRK_PAYLOAD_BAD_COUNTS},
        {"slot count 0", with([](PayloadShape& s) { s.slot_count = 0; }), QVRK_PAYLOAD_BAD_COUNTS},
        {"more slots than bytes", with([](PayloadShape& s) { s.slot_count = 0x7FFFFFFF; }),
         QVRK_PAYLOAD_BAD_COUNTS},
        {"more files than bytes", with([](PayloadShape& s) { s.file_count = 1000000; }),
         QVRK_PAYLOAD_BAD_COUNTS},
        {"slot equal to the file count", with([](PayloadShape& s) { s.slots[2] = 3; }),
         QVRK_PAYLOAD_BAD_SLOT},
        {"slot -1", with([](PayloadShape& s) { s.slots[1] = -1; }), QVRK_PAYLOAD_BAD_SLOT},
        {"settings file equal to the count", with([](PayloadShape& s) { s.settings_file = 3; }),
         QVRK_PAYLOAD_BAD_FILE_INDEX},
        {"preview file far out", with([](PayloadShape& s) { s.preview_file = 1000; }),
         QVRK_PAYLOAD_BAD_FILE_INDEX},
        {"records scrambled with the wrong seed",
         with([](PayloadShape& s) { s.record_seed_delta = 1; }), QVRK_PAYLOAD_BAD_ENTRY},
        {"last item cut short",
         [&] {
             Bytes f = base();
             Bytes trailer(f.end() - 8, f.end());
             f.resize(f.size() - 8 - 1);
             f.insert(f.end(), trailer.begin(), trailer.end());
             return f;
         },
         QVRK_PAYLOAD_BAD_ENTRY},
        {"one file too many for the records",
         [] {
             PayloadShape s = ThreeItems();
             s.file_count = 4;
             // The bytes would hold a fourth record, but the walk meets the trailer first.
             return Build(s);
         },
         QVRK_PAYLOAD_BAD_ENTRY},
    };
    for (const Case& c : cases) {
        Reader r;
        EXPECT_EQ(r.Open(c.make()), c.result)
            << c.what << ": " << qvrk_payload_result_text(r.Open(c.make()));
    }
}

// Random damage anywhere in a payload: whatever the reader says, it stays inside the image, and
// what it accepts can be decoded without leaving the buffers (checked by the sanitizer build).
TEST(PayloadReader, SurvivesRandomDamage) {
    Bytes good = Build(ThreeItems());
    std::mt19937 rng(77);
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes f = good;
        for (int k = 0; k < 3; ++k) {
            size_t at = (round % 2) ? 1000 + rng() % 200 : rng() % f.size();
            f[at] ^= static_cast<uint8_t>(1u + rng() % 255);
        }
        // Exact-size heap copy so that an overread is caught.
        std::unique_ptr<uint8_t[]> image(new uint8_t[f.size()]);
        memcpy(image.get(), f.data(), f.size());
        QvrkSource source;
        qvrk_source_memory(&source, image.get(), f.size());
        auto work = std::make_unique<QvrkInflater>();
        auto payload = std::make_unique<QvrkPayload>();
        if (qvrk_payload_open(payload.get(), &source, work.get()) != QVRK_PAYLOAD_OK)
            continue;
        std::vector<QvrkEntry> entries(size_t(payload->numbers.file_count));
        if (qvrk_payload_read_entries(payload.get(), entries.data(), uint32_t(entries.size())) !=
            QVRK_PAYLOAD_OK)
            continue;
        ++opened;
        for (uint32_t i = 0; i < entries.size(); ++i) {
            uint32_t size = qvrk_payload_item_size(payload.get(), i);
            if (size > (64u << 20))
                continue;
            std::unique_ptr<uint8_t[]> out(new uint8_t[size + 1]);
            std::unique_ptr<uint8_t[]> scratch(new uint8_t[entries[i].record.stored_size + 1]);
            qvrk_payload_decode_item(payload.get(), i, work.get(), out.get(), size, scratch.get(),
                                     entries[i].record.stored_size);
        }
    }
    EXPECT_GT(opened, 0);
}

} // namespace
