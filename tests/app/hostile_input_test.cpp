// Clipboard text and dropped URLs that another program made and that may be anything: without
// a zero byte, binary, megabytes long, empty, on the wrong medium, or a clipboard that someone
// else holds open. The intake reads exactly the data's own bytes, up to the first zero byte,
// and then routes it as any other text.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "app_ids.h"
#include "in_process.h"
#include "program_driver.h"
#include "support/data_object.h"

namespace vantrel {
namespace {

using testing::Program;

// True when no readable memory follows the last byte of the block.
bool ends_readable_memory(HGLOBAL block) {
    const auto* bytes = static_cast<const char*>(GlobalLock(block));
    if (!bytes) return false;
    MEMORY_BASIC_INFORMATION after{};
    const bool readable = VirtualQuery(bytes + GlobalSize(block), &after, sizeof after) != 0 &&
                          after.State == MEM_COMMIT &&
                          !(after.Protect & (PAGE_NOACCESS | PAGE_GUARD));
    GlobalUnlock(block);
    return !readable;
}

// The size, at least minimum bytes, of a block whose last byte is the last byte of its memory:
// blocks this large get memory of their own from the heap, in whole units, and a block that
// fills its memory has nothing readable behind it. The same holds for the copy of such a block
// that a reader of the clipboard gets.
std::size_t size_ending_its_memory(std::size_t minimum) {
    HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE, minimum);
    const auto* bytes = static_cast<const char*>(GlobalLock(probe));
    MEMORY_BASIC_INFORMATION memory{};
    VirtualQuery(bytes, &memory, sizeof memory);
    const auto end = static_cast<const char*>(memory.BaseAddress) + memory.RegionSize;
    const auto size = static_cast<std::size_t>(end - bytes);
    GlobalUnlock(probe);
    GlobalFree(probe);
    return size;
}

// A link of the given length that holds no zero byte.
std::string long_link(const std::string& prefix, std::size_t length) {
    std::string link = prefix;
    for (std::size_t i = prefix.size(); i < length; ++i) {
        link += static_cast<char>('a' + i % 26);
    }
    return link;
}

// "http://" and every byte but zero, then a zero byte and more: the text ends at the zero.
const std::string kBinary = [] {
    std::string text = "http://";
    for (int byte = 1; byte < 256; ++byte)
        text += static_cast<char>(byte);
    return text;
}();

using testing::global_block;

// Whether the clipboard's own CF_TEXT block has nothing readable behind it.
bool clipboard_block_ends_readable_memory() {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    const bool ends = data && ends_readable_memory(data);
    CloseClipboard();
    return ends;
}

// The system ends a CF_TEXT block that holds no zero byte with one, written over its last
// byte; the intake takes the bytes before the first zero byte and nothing past the block.
TEST(HostileClipboard, TextIsReadUpToItsFirstZeroByteAndNoFurtherThanItsBlock) {
    const std::string at_memory_end = long_link("http://host/", size_ending_its_memory(3 << 20));
    const auto but_last = [](const std::string& bytes) {
        return bytes.substr(0, bytes.size() - 1);
    };
    struct Case {
        const char* name;
        std::string block;  // exactly the bytes of the CF_TEXT block
        bool block_ends_memory;
        std::string text;
    };
    const Case cases[] = {
        {"no zero byte", "http://host/a.zip", false, "http://host/a.zi"},
        {"megabytes without zero byte, up to the end of readable memory", at_memory_end, true,
         but_last(at_memory_end)},
        {"binary bytes", kBinary + std::string("\0after the zero", 15), false, kBinary},
        {"binary bytes without zero byte", kBinary, false, but_last(kBinary)},
        {"a zero byte first", std::string("\0http://host/a.zip", 18), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testing::set_clipboard_bytes(c.block));
        if (c.block_ends_memory) {
            ASSERT_TRUE(clipboard_block_ends_readable_memory());
        }
        EXPECT_TRUE(clipboard_text() == c.text) << "the clipboard text differs";
        Boxes boxes;
        take_link_from_clipboard(boxes);
        EXPECT_TRUE(boxes.plain == (c.text.empty() ? "old plain" : c.text));
        EXPECT_EQ(boxes.encoded, "old encoded");
    }
}

// A window of its own thread that keeps the clipboard open, as another program may, until it
// is let go.
class ClipboardHeldByAnotherThread {
  public:
    ClipboardHeldByAnotherThread() {
        thread_ = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr, nullptr,
                                          nullptr, nullptr);
            open_ = window && OpenClipboard(window);
            SetEvent(opened_);
            WaitForSingleObject(release_, 30000);
            if (open_) CloseClipboard();
            if (window) DestroyWindow(window);
        });
        WaitForSingleObject(opened_, 30000);
    }
    ~ClipboardHeldByAnotherThread() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    ClipboardHeldByAnotherThread(const ClipboardHeldByAnotherThread&) = delete;
    ClipboardHeldByAnotherThread& operator=(const ClipboardHeldByAnotherThread&) = delete;
    bool is_open() const { return open_; }

  private:
    HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool open_ = false;
    std::thread thread_;
};

// While another thread holds the clipboard open, the intake finds no text and changes nothing,
// at once; afterwards it reads the clipboard again.
TEST(HostileClipboard, HeldOpenByAnotherThread) {
    ASSERT_TRUE(testing::set_clipboard_text("http://host/a.zip"));
    Boxes boxes;
    {
        ClipboardHeldByAnotherThread holder;
        ASSERT_TRUE(holder.is_open());
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(clipboard_text(), "");
        take_link_from_clipboard(boxes);
        paste_plain_address(boxes);
        paste_encoded_link(boxes);
        EXPECT_LT(GetTickCount64() - start, 2000u) << "the intake waited for the clipboard";
        EXPECT_EQ(boxes.plain, "old plain");
        EXPECT_EQ(boxes.encoded, "old encoded");
    }
    take_link_from_clipboard(boxes);
    EXPECT_EQ(boxes.plain, "http://host/a.zip");
}

// The running program: an encoded link of megabytes goes into 编辑框1 at start-up; a block
// of megabytes without zero byte, which ends where the memory of the program's copy ends,
// reaches 编辑框2 up to the zero byte that the system wrote over its last byte; binary bytes
// reach it as the edit box holds them.
TEST(HostileClipboard, TheProgramTakesTheTextWhole) {
    const std::string encoded = long_link("thunder://", 4 << 20);
    ASSERT_TRUE(testing::set_clipboard_text(encoded));
    Program program;
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(program.box(id_encoded_box) == encoded) << "the encoded link differs";

    const std::string plain = long_link("http://host/", size_ending_its_memory(4 << 20));
    ASSERT_TRUE(testing::set_clipboard_bytes(plain));
    program.click(id_paste_plain_button);
    EXPECT_TRUE(program.box(id_plain_box) == plain.substr(0, plain.size() - 1))
        << "the plain address differs";

    // What an edit box makes of bytes that are no text of code page 936.
    wchar_t wide[512] = {};
    char held[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, kBinary.c_str(), -1, wide, 512);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, held, sizeof held, nullptr, nullptr);
    ASSERT_TRUE(testing::set_clipboard_text(kBinary));
    program.click(id_paste_plain_button);
    EXPECT_EQ(program.box(id_plain_box), held);
    EXPECT_EQ(program.box(id_encoded_box).size(), encoded.size());
    EXPECT_EQ(program.exit_code(), static_cast<DWORD>(STILL_ACTIVE));
}

using HostileDrop = DropTargetTest;
using Effects = std::vector<DWORD>;
constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
using testing::hglobal_medium;

// A data object that offers "UniformResourceLocator" on the given media and hands out, for
// each read, the medium that the test makes.
struct UrlData : testing::FakeDataObject {
    UrlData(DWORD media, MakeMedium make_medium)
        : FakeDataObject(
              static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocator")), media,
              std::move(make_medium)) {}
};

const Effects kCopied{DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY};
const Effects kRefused{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE};

TEST_F(HostileDrop, UrlIsReadUpToItsFirstZeroByteAndNoFurtherThanItsBlock) {
    const std::string at_memory_end = long_link("http://host/", size_ending_its_memory(3 << 20));
    const std::string megabytes = long_link("http://host/", 4 << 20);
    bool block_ended_memory = false;
    UrlData no_zero(TYMED_HGLOBAL, [&](STGMEDIUM* medium) {
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global_block(at_memory_end);
        block_ended_memory = ends_readable_memory(medium->hGlobal);
        return S_OK;
    });
    EXPECT_EQ(drag_and_drop(&no_zero, 0, kAll), kCopied);
    EXPECT_TRUE(block_ended_memory);
    EXPECT_TRUE(boxes.plain == at_memory_end) << "the dropped URL differs";

    UrlData huge(TYMED_HGLOBAL, hglobal_medium(megabytes + '\0' + "more"));
    EXPECT_EQ(drag_and_drop(&huge, 0, kAll), kCopied);
    EXPECT_TRUE(boxes.plain == megabytes) << "the dropped URL differs";

    UrlData binary(TYMED_HGLOBAL, hglobal_medium(kBinary));
    EXPECT_EQ(drag_and_drop(&binary, 0, kAll), kCopied);
    EXPECT_EQ(boxes.plain, kBinary);
    EXPECT_EQ(boxes.encoded, "old encoded");
}

// Data that holds no URL, or not on a medium of memory, is dropped without changing anything.
TEST_F(HostileDrop, NoUrlToBeReadChangesNothing) {
    HGLOBAL beside = global_block(std::string("http://wrong/medium", 20));
    IStream* stream = nullptr;
    ASSERT_EQ(
        CreateStreamOnHGlobal(global_block(std::string("http://in/a/stream", 19)), TRUE, &stream),
        S_OK);
    struct Case {
        const char* name;
        DWORD media;
        std::function<HRESULT(STGMEDIUM*)> make_medium;
        Effects effects;
        int reads;
    };
    const Case cases[] = {
        {"an empty block", TYMED_HGLOBAL, hglobal_medium(""), kCopied, 1},
        {"a zero byte only", TYMED_HGLOBAL, hglobal_medium(std::string(1, '\0')), kCopied, 1},
        {"no block", TYMED_HGLOBAL,
         [](STGMEDIUM* medium) {
             medium->tymed = TYMED_HGLOBAL;
             return S_OK;
         },
         kCopied, 1},
        {"the read fails", TYMED_HGLOBAL, [](STGMEDIUM*) { return E_OUTOFMEMORY; }, kCopied, 1},
        {"offered as a stream only", TYMED_ISTREAM,
         [&](STGMEDIUM* medium) {
             stream->AddRef();
             medium->tymed = TYMED_ISTREAM;
             medium->pstm = stream;
             return S_OK;
         },
         kRefused, 0},
        {"a stream handed out for memory", TYMED_HGLOBAL,
         [&](STGMEDIUM* medium) {
             stream->AddRef();
             medium->tymed = TYMED_ISTREAM;
             medium->pstm = stream;
             return S_OK;
         },
         kCopied, 1},
        {"a block marked as no medium", TYMED_HGLOBAL,
         [&](STGMEDIUM* medium) {
             medium->tymed = TYMED_NULL;
             medium->hGlobal = beside;
             return S_OK;
         },
         kCopied, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UrlData data(c.media, c.make_medium);
        EXPECT_EQ(drag_and_drop(&data, 0, kAll), c.effects);
        EXPECT_EQ(data.reads, c.reads);
        EXPECT_EQ(boxes.plain, "old plain");
        EXPECT_EQ(boxes.encoded, "old encoded");
    }
    // Every stream handed out was released again.
    EXPECT_EQ(stream->Release(), 0u);
    GlobalFree(beside);
}

}  // namespace
}  // namespace vantrel
