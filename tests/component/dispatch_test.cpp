// IDispatch of tavik_down, served from the registered type library: names, type information,
// and Invoke, which checks the arguments before AddUrl runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace tavik_test {
namespace {

constexpr char kMarker[] = "what the clipboard held before";

// A VARIANT argument that owns its value.
struct Argument {
    explicit Argument(const wchar_t* text) {
        VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(text);
    }
    explicit Argument(LONG number) {
        VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = number;
    }
    Argument(const Argument& other) {
        VariantInit(&value);
        VariantCopy(&value, const_cast<VARIANT*>(&other.value));
    }
    Argument& operator=(const Argument&) = delete;
    ~Argument() { VariantClear(&value); }
    VARIANT value;
};

class DispatchTest : public ::testing::Test {
  protected:
    void create_object() {
        object_ = component_.create();
        ASSERT_TRUE(object_);
        IDispatch* dispatch = nullptr;
        ASSERT_HR(S_OK,
                  object_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
        dispatch_.reset(dispatch);
    }

    DISPID id_of(const wchar_t* name, HRESULT* hr) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        *hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        return id;
    }

    // Calls AddUrl (dispatch id 1) with the arguments in their written order.
    HRESULT invoke(const std::vector<Argument>& arguments) {
        std::vector<VARIANT> reversed;
        for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) {
            reversed.push_back(it->value);
        }
        DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception = {};
        UINT bad_argument = 0;
        const HRESULT hr = dispatch_->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                             &params, &result, &exception, &bad_argument);
        VariantClear(&result);
        return hr;
    }

    ComApartment apartment_;
    Component component_;
    ComPtr<Itavik_down> object_;
    ComPtr<IDispatch> dispatch_;
};

class Dispatch : public DispatchTest {
  protected:
    void SetUp() override {
        ASSERT_HR(S_OK, component_.register_server());
        create_object();
    }
    void TearDown() override {
        dispatch_.reset();
        object_.reset();
        component_.unregister_server();
    }
};

TEST_F(Dispatch, TypeInformationIsThatOfItavikDown) {
    UINT count = 0;
    EXPECT_HR(S_OK, dispatch_->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);

    ITypeInfo* info = nullptr;
    ASSERT_HR(S_OK, dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    ComPtr<ITypeInfo> owned(info);
    TYPEATTR* attributes = nullptr;
    ASSERT_HR(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(IID_Itavik_down, attributes->guid));
    info->ReleaseTypeAttr(attributes);

    info = reinterpret_cast<ITypeInfo*>(0x1234);
    EXPECT_HR(DISP_E_BADINDEX, dispatch_->GetTypeInfo(1, LOCALE_USER_DEFAULT, &info));
    EXPECT_EQ(nullptr, info);
}

TEST_F(Dispatch, NamesMapToDispatchIds) {
    HRESULT hr = E_FAIL;
    EXPECT_EQ(1, id_of(L"AddUrl", &hr));
    EXPECT_HR(S_OK, hr);
    id_of(L"RemoveUrl", &hr);
    EXPECT_HR(DISP_E_UNKNOWNNAME, hr);
}

// Too few arguments are refused before AddUrl runs; the stand-in main window sees the link only
// from a call with three. Arguments of other types are converted to BSTR. (Too many are refused
// by Windows' type information as well, but not by Wine's, which runs the method.)
TEST_F(Dispatch, InvokeRunsAddUrlOnlyWithThreeArguments) {
    StandInLog log;
    StandIn standin = start_standin();
    ASSERT_TRUE(standin.window);
    struct Case {
        const char* name;
        std::vector<Argument> arguments;
        HRESULT expected;
        const char* delivered;  // null when AddUrl does not run
    };
    const Case cases[] = {
        {"none", {}, DISP_E_BADPARAMCOUNT, nullptr},
        {"url", {Argument(L"http://a/1")}, DISP_E_BADPARAMCOUNT, nullptr},
        {"url, info", {Argument(L"http://a/2"), Argument(L"i")}, DISP_E_BADPARAMCOUNT, nullptr},
        {"three", {Argument(L"http://a/4"), Argument(L"i"), Argument(L"x")}, S_OK, "http://a/4"},
        {"number as url", {Argument(123), Argument(L"i"), Argument(L"x")}, S_OK, "123"},
    };
    Lines expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set_clipboard_text(kMarker);
        EXPECT_HR(c.expected, invoke(c.arguments));
        if (c.delivered) {
            expected.push_back(restore_line(kMarker));
            expected.push_back(handoff_line(c.delivered));
        }
        EXPECT_EQ(expected, log.records());
        EXPECT_EQ(c.delivered ? c.delivered : kMarker, clipboard_text());
    }
}

// Without its registered type library a script cannot call the object: the dispatch members
// report the type-library loader's error.
class DispatchWithoutTypeLibrary : public DispatchTest {
  protected:
    void SetUp() override {
        component_.unregister_server();
        create_object();
    }
};

TEST_F(DispatchWithoutTypeLibrary, FailsWithTheLoadersError) {
    ITypeLib* library = nullptr;
    const HRESULT loader_error =
        LoadRegTypeLib(LIBID_TAVIKLib, 1, 0, LOCALE_USER_DEFAULT, &library);
    ASSERT_HR(TYPE_E_LIBNOTREGISTERED, loader_error);

    HRESULT hr = S_OK;
    id_of(L"AddUrl", &hr);
    EXPECT_HR(loader_error, hr);
    ITypeInfo* info = nullptr;
    EXPECT_HR(loader_error, dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    EXPECT_HR(loader_error, invoke({Argument(L"http://a/"), Argument(L"i"), Argument(L"x")}));
}

}  // namespace
}  // namespace tavik_test
