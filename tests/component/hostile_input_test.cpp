// What reaches the component from outside and may be anything: the BSTR that a page passes to
// AddUrl, and the hand-off record, which any program can overwrite. Nothing crashes or reads
// past its data; the outcome is always a hand-off, a start of the program named in FilePath,
// or nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "add_url_fixture.h"

namespace tavik_test {
namespace {

constexpr wchar_t kLink[] = L"http://host/file.zip";
constexpr char kLinkText[] = "http://host/file.zip";

// A BSTR whose characters run up to the very end of readable memory: no zero character
// follows them, so only its stored length tells where it ends.
class BstrAtPageEnd {
  public:
    explicit BstrAtPageEnd(const std::wstring& text) {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const std::size_t page = system.dwPageSize;
        const std::size_t bytes = sizeof(DWORD) + text.size() * sizeof(wchar_t);
        const std::size_t readable = (bytes + page - 1) / page * page;
        pages_ = static_cast<char*>(
            VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (!pages_ || !VirtualProtect(pages_ + readable, page, PAGE_NOACCESS, &old)) return;
        char* characters = pages_ + readable - text.size() * sizeof(wchar_t);
        const DWORD length = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        std::memcpy(characters - sizeof length, &length, sizeof length);
        std::memcpy(characters, text.data(), length);
        bstr_ = reinterpret_cast<BSTR>(characters);
    }
    ~BstrAtPageEnd() {
        if (pages_) VirtualFree(pages_, 0, MEM_RELEASE);
    }
    BstrAtPageEnd(const BstrAtPageEnd&) = delete;
    BstrAtPageEnd& operator=(const BstrAtPageEnd&) = delete;
    BSTR get() const { return bstr_; }

  private:
    char* pages_ = nullptr;
    BSTR bstr_ = nullptr;
};

class Hostile : public AddUrlTest {
  protected:
    HRESULT add_url(BSTR url) {
        OwnedBstr info = make_bstr(L"");
        return object_->AddUrl(url, info.get(), nullptr);
    }
};

using HostileUrl = Hostile;
using HostileRecord = Hostile;

std::wstring wide_repeat(const std::wstring& prefix, std::size_t count, wchar_t c) {
    return prefix + std::wstring(count, c);
}

// The url's characters up to its stored length, converted to code page 936; a character that
// has no place there, an unpaired surrogate included, becomes '?'.
TEST_F(HostileUrl, ReachesTheMainWindowAsTheRulesSay) {
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    const std::string megabytes = "http://host/" + std::string(4 << 20, 'm');
    struct Case {
        const char* name;
        std::wstring url;
        bool at_page_end;  // no zero character after the url
        std::string text;
    };
    const Case cases[] = {
        {"unpaired surrogates", L"http://a/\xD800x\xDC00y\xDBFF", false, "http://a/?x?y?"},
        {"surrogates the wrong way round", L"http://a/\xDC00\xD800.zip", false, "http://a/??.zip"},
        {"4 MB", wide_repeat(L"http://host/", 4 << 20, L'm'), false, megabytes},
        {"no zero character after it", L"http://host/edge.zip", true, "http://host/edge.zip"},
        {"Chinese, no zero character after it", L"thunder://下载", true,
         "thunder://\xCF\xC2\xD4\xD8"},
        {"zero character inside, no zero character after it",
         std::wstring(L"http://a/1\0http://b/2", 21), true, "http://a/1"},
    };
    Lines expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_clipboard_text(kMarker);
        if (c.at_page_end) {
            BstrAtPageEnd url(c.url);
            ASSERT_TRUE(url.get());
            EXPECT_HR(S_OK, add_url(url.get()));
        } else {
            EXPECT_HR(S_OK, add_url(make_bstr(c.url).get()));
        }
        expected.push_back(restore_line(kMarker));
        expected.push_back(handoff_line(c.text));
        const Lines lines = log_.records();
        EXPECT_TRUE(lines == expected) << "the stand-in's log differs";
        EXPECT_TRUE(clipboard_text() == c.text) << "the clipboard differs";
    }
}

// A BSTR of the longest length that a BSTR can store, letters 'a' without a zero character, that
// costs little memory: its characters are many views of one section of memory, after a head that
// holds its stored length.
class LongestBstr {
  public:
    static constexpr UINT kLength = 0x7FFFFFFF;

    LongestBstr() {
        constexpr std::size_t kHead = 64 * 1024;
        constexpr std::size_t kView = 16 << 20;
        const std::size_t bytes = std::size_t{kLength} * sizeof(wchar_t);
        const std::size_t views = (bytes + kView - 1) / kView;
        section_ =
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kView, nullptr);
        if (!section_) return;
        auto* fill = static_cast<wchar_t*>(MapViewOfFile(section_, FILE_MAP_WRITE, 0, 0, kView));
        if (!fill) return;
        wmemset(fill, L'a', kView / sizeof(wchar_t));
        UnmapViewOfFile(fill);

        // Room for the head and the views, found by reserving it once.
        auto* room = static_cast<char*>(
            VirtualAlloc(nullptr, kHead + views * kView, MEM_RESERVE, PAGE_NOACCESS));
        if (!room) return;
        VirtualFree(room, 0, MEM_RELEASE);
        head_ = VirtualAlloc(room, kHead, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (head_ != room) return;
        for (std::size_t i = 0; i < views; ++i) {
            void* at = room + kHead + i * kView;
            void* view = MapViewOfFileEx(section_, FILE_MAP_READ, 0, 0, kView, at);
            if (view) views_.push_back(view);
            if (view != at) return;
        }
        const auto stored = static_cast<DWORD>(bytes);
        std::memcpy(room + kHead - sizeof stored, &stored, sizeof stored);
        bstr_ = reinterpret_cast<BSTR>(room + kHead);
    }
    ~LongestBstr() {
        for (void* view : views_)
            UnmapViewOfFile(view);
        if (head_) VirtualFree(head_, 0, MEM_RELEASE);
        if (section_) CloseHandle(section_);
    }
    LongestBstr(const LongestBstr&) = delete;
    LongestBstr& operator=(const LongestBstr&) = delete;
    BSTR get() const { return bstr_; }

  private:
    HANDLE section_ = nullptr;
    void* head_ = nullptr;
    std::vector<void*> views_;
    BSTR bstr_ = nullptr;
};

// A url so long that 2 x its length + 2 bytes exceed what a 32-bit size holds (for the longest
// BSTR the sum wraps to 0): the memory for the conversion cannot be had, and nothing else
// happens.
TEST_F(HostileUrl, TooLongForTheConversionBuffer) {
    if (sizeof(void*) < 8) GTEST_SKIP() << "a 32-bit process cannot hold such a url";
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    LongestBstr url;
    ASSERT_TRUE(url.get());
    ASSERT_EQ(LongestBstr::kLength, SysStringLen(url.get()));

    EXPECT_HR(E_OUTOFMEMORY, add_url(url.get()));
    EXPECT_EQ(Lines{}, log_.records());
    EXPECT_EQ(kMarker, clipboard_text());
}

std::string dword_bytes(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string zero_padded(const std::string& number, std::size_t length) {
    return std::string(length - number.size(), '0') + number;
}

// MainWindowHandle is read as text from at most 32 bytes whatever its type; a longer value
// counts as missing, and only a window of the main program's class is sent anything. FilePath
// is gone, so a record that names no main window leads nowhere.
TEST_F(HostileRecord, MainWindowHandle) {
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    delete_record_value(vantrel::kFilePathValue);
    const std::string number = window_number(standin.window);
    const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(standin.window));
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
        bool reaches_window;
    };
    const Case cases[] = {
        {"REG_BINARY of 32 digits", REG_BINARY, zero_padded(number, 32), true},
        {"REG_SZ of 32 digits stored without zero byte", REG_SZ, zero_padded(number, 32), true},
        {"REG_BINARY of 33 digits", REG_BINARY, zero_padded(number, 33), false},
        {"REG_BINARY of 1000 digits", REG_BINARY, zero_padded(number, 1000), false},
        {"REG_DWORD of the window's number", REG_DWORD, dword_bytes(static_cast<DWORD>(handle)),
         false},
        {"empty REG_BINARY", REG_BINARY, "", false},
        {"not a number", REG_SZ, std::string("window\0", 7), false},
        {"the number plus 2 to the 32nd", REG_SZ, std::to_string(4294967296LL + handle) + '\0',
         false},
        {"HWND_BROADCAST", REG_SZ, std::string("65535\0", 6), false},
        {"the desktop window", REG_SZ, window_number(GetDesktopWindow()) + '\0', false},
    };
    Lines expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        delete_record_value(vantrel::kMainWindowHandleValue);
        write_record_value(vantrel::kMainWindowHandleValue, c.type, c.bytes);
        set_clipboard_text(kMarker);
        EXPECT_HR(S_OK, add_url(make_bstr(kLink).get()));
        if (c.reaches_window) {
            expected.push_back(restore_line(kMarker));
            expected.push_back(handoff_line(kLinkText));
        }
        EXPECT_EQ(expected, log_.records());
        EXPECT_EQ(c.reaches_window ? kLinkText : kMarker, clipboard_text());
        EXPECT_EQ(standin.window, find_main_window()) << "no other main program was started";
    }
}

// FilePath is read from at most 1023 bytes whatever its type and always ends with a zero byte;
// a longer value counts as missing. MainWindowHandle names no window, so the program named
// there is started, or nothing happens.
TEST_F(HostileRecord, FilePath) {
    const std::string path = ansi(standin_path());
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
        bool starts;
    };
    const Case cases[] = {
        {"REG_BINARY without zero byte", REG_BINARY, path, true},
        {"REG_BINARY filled with zero bytes to 1023 bytes", REG_BINARY,
         path + std::string(1023 - path.size(), '\0'), true},
        {"REG_BINARY filled with zero bytes to 1024 bytes", REG_BINARY,
         path + std::string(1024 - path.size(), '\0'), false},
        {"REG_SZ of 4000 bytes", REG_SZ, path + std::string(4000 - path.size(), 'x'), false},
        {"1023 letters without zero byte", REG_BINARY, std::string(1023, 'A'), false},
        {"REG_DWORD", REG_DWORD, dword_bytes(0x00434241), false},
        {"empty REG_BINARY", REG_BINARY, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandInLog log;
        delete_menu_ext_key();
        write_record_text(vantrel::kMainWindowHandleValue, "0");
        write_record_value(vantrel::kFilePathValue, c.type, c.bytes);
        set_clipboard_text(kMarker);

        EXPECT_HR(S_OK, add_url(make_bstr(kLink).get()));
        Process started = Process::of_window(find_main_window());
        EXPECT_EQ(c.starts, static_cast<bool>(started));
        const Lines handed_over{restore_line(kMarker), handoff_line(kLinkText)};
        EXPECT_EQ(c.starts ? handed_over : Lines{}, log.records());
        EXPECT_EQ(c.starts ? kLinkText : kMarker, clipboard_text());
        started.end();
        ASSERT_TRUE(wait_until([] { return find_main_window() == nullptr; }));
    }
}

}  // namespace
}  // namespace tavik_test
