// The COM server machinery: the class object, the class factory with its aggregation rule,
// the object's interfaces, and the module's lock count as DllCanUnloadNow reports it.
#include <gtest/gtest.h>

#include <ocidl.h>

#include "support.h"

namespace tavik_test {
namespace {

// {6E4C5A8B-0D43-4B8E-9A51-2F1B7C3E9D10}: a class that the component does not serve.
const CLSID kOtherClass = {
    0x6e4c5a8b, 0x0d43, 0x4b8e, {0x9a, 0x51, 0x2f, 0x1b, 0x7c, 0x3e, 0x9d, 0x10}};

void* const kJunk = reinterpret_cast<void*>(0x1234);

// An outer object that counts what reaches it through the inner object's interfaces.
class Outer final : public IUnknown {
  public:
    STDMETHODIMP QueryInterface(REFIID iid, void** result) override {
        ++queries;
        last_query = iid;
        *result = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG references = 1;
    int queries = 0;
    IID last_query = IID_NULL;
};

class ComServer : public ::testing::Test {
  protected:
    ComApartment apartment_;
    Component component_;
};

TEST_F(ComServer, ClassObjectOnlyForItsOwnClass) {
    void* result = kJunk;
    EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE,
              component_.get_class_object(kOtherClass, IID_IClassFactory, &result));
    EXPECT_EQ(nullptr, result);
    EXPECT_HR(E_POINTER, component_.get_class_object(CLSID_tavik_down, IID_IClassFactory, nullptr));

    result = kJunk;
    EXPECT_HR(E_NOINTERFACE, component_.get_class_object(CLSID_tavik_down, IID_IDispatch, &result));
    EXPECT_EQ(nullptr, result);

    for (REFIID iid : {IID_IClassFactory, IID_IUnknown}) {
        IUnknown* factory = nullptr;
        EXPECT_HR(S_OK, component_.get_class_object(CLSID_tavik_down, iid,
                                                    reinterpret_cast<void**>(&factory)));
        ASSERT_NE(nullptr, factory);
        factory->Release();
    }
}

TEST_F(ComServer, CreateInstanceRefusesANullResult) {
    auto factory = component_.factory();
    ASSERT_TRUE(factory);
    Outer outer;
    EXPECT_HR(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
    EXPECT_HR(E_POINTER, factory->CreateInstance(&outer, IID_IUnknown, nullptr));
    EXPECT_EQ(1u, outer.references);
    factory.reset();
    EXPECT_HR(S_OK, component_.can_unload_now());
}

TEST_F(ComServer, ObjectAnswersForIUnknownItavikDownAndIDispatchOnly) {
    auto object = component_.create();
    ASSERT_TRUE(object);
    struct Case {
        const char* name;
        const IID& iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"Itavik_down", IID_Itavik_down, S_OK},
        {"IDispatch", IID_IDispatch, S_OK},
        {"IClassFactory", IID_IClassFactory, E_NOINTERFACE},
        {"IConnectionPointContainer", IID_IConnectionPointContainer, E_NOINTERFACE},
        {"IProvideClassInfo", IID_IProvideClassInfo, E_NOINTERFACE},
        {"IPersist", IID_IPersist, E_NOINTERFACE},
        {"IMarshal", IID_IMarshal, E_NOINTERFACE},
        {"ISupportErrorInfo", IID_ISupportErrorInfo, E_NOINTERFACE},
        {"other", kOtherClass, E_NOINTERFACE},
    };
    IUnknown* identity = nullptr;
    ASSERT_HR(S_OK, object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IUnknown* result = static_cast<IUnknown*>(kJunk);
        EXPECT_HR(c.expected, object->QueryInterface(c.iid, reinterpret_cast<void**>(&result)));
        if (c.expected != S_OK) {
            EXPECT_EQ(nullptr, result);
            continue;
        }
        // Every interface leads back to the same IUnknown.
        IUnknown* unknown = nullptr;
        EXPECT_HR(S_OK, result->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
        EXPECT_EQ(identity, unknown);
        unknown->Release();
        result->Release();
    }
    identity->Release();
    EXPECT_HR(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(ComServer, AggregationOnlyThroughTheInnerIUnknown) {
    auto factory = component_.factory();
    ASSERT_TRUE(factory);
    Outer outer;
    for (REFIID iid : {IID_Itavik_down, IID_IDispatch, IID_IClassFactory}) {
        void* result = kJunk;
        EXPECT_HR(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, iid, &result));
        EXPECT_EQ(nullptr, result);
    }

    IUnknown* inner = nullptr;
    ASSERT_HR(S_OK,
              factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(1u, outer.references) << "creation leaves the outer object's count alone";

    // The inner IUnknown answers for itself; the interfaces it gives out delegate to the outer
    // object.
    IUnknown* same_inner = nullptr;
    EXPECT_HR(S_OK, inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same_inner)));
    EXPECT_EQ(inner, same_inner);
    same_inner->Release();

    Itavik_down* tavik = nullptr;
    ASSERT_HR(S_OK, inner->QueryInterface(IID_Itavik_down, reinterpret_cast<void**>(&tavik)));
    EXPECT_EQ(2u, outer.references);
    void* result = nullptr;
    EXPECT_HR(E_NOINTERFACE, tavik->QueryInterface(IID_IPersist, &result));
    EXPECT_EQ(1, outer.queries);
    EXPECT_TRUE(IsEqualIID(IID_IPersist, outer.last_query));
    tavik->AddRef();
    EXPECT_EQ(3u, outer.references);
    tavik->Release();
    tavik->Release();
    EXPECT_EQ(1u, outer.references);

    factory.reset();
    EXPECT_HR(S_FALSE, component_.can_unload_now());
    EXPECT_EQ(0u, inner->Release());
    EXPECT_HR(S_OK, component_.can_unload_now());
}

TEST_F(ComServer, CanUnloadNowOnlyWhenNothingIsHeld) {
    EXPECT_HR(S_OK, component_.can_unload_now());

    auto factory = component_.factory();
    ASSERT_TRUE(factory);
    EXPECT_HR(S_FALSE, component_.can_unload_now());

    Itavik_down* object = nullptr;
    ASSERT_HR(S_OK,
              factory->CreateInstance(nullptr, IID_Itavik_down, reinterpret_cast<void**>(&object)));
    factory.reset();
    EXPECT_HR(S_FALSE, component_.can_unload_now());
    object->AddRef();
    object->Release();
    EXPECT_HR(S_FALSE, component_.can_unload_now());
    EXPECT_EQ(0u, object->Release());
    EXPECT_HR(S_OK, component_.can_unload_now());

    factory = component_.factory();
    ASSERT_TRUE(factory);
    EXPECT_HR(S_OK, factory->LockServer(TRUE));
    factory.reset();
    EXPECT_HR(S_FALSE, component_.can_unload_now());
    factory = component_.factory();
    EXPECT_HR(S_OK, factory->LockServer(FALSE));
    factory.reset();
    EXPECT_HR(S_OK, component_.can_unload_now());
}

}  // namespace
}  // namespace tavik_test
