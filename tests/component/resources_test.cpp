// What tavik.dll carries: its type library TYPELIB 1, the registrar script REGISTRY 101, the
// string 100 and the version block.
#include <gtest/gtest.h>

#include <string>

#include "support.h"
#include "tavik_ids.h"

namespace tavik_test {
namespace {

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring documentation(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    OwnedBstr name, doc;
    info->GetDocumentation(id, name.receive(), doc.receive(), nullptr, nullptr);
    return std::wstring(name ? name.get() : L"") + L": " + (doc ? doc.get() : L"");
}

// The component's file loaded for its resources only.
class Resources : public ::testing::Test {
  protected:
    Resources()
        : module_(LoadLibraryExW(component_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    std::string resource(const wchar_t* type, int id) {
        HRSRC found = FindResourceW(module_.get(), MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        const char* data =
            static_cast<const char*>(LockResource(LoadResource(module_.get(), found)));
        return std::string(data, SizeofResource(module_.get(), found));
    }
    vantrel::OwnedModule module_;
};

TEST_F(Resources, TypeLibraryDescribesTavikLib) {
    const std::string file = resource(L"TYPELIB", 1);
    ASSERT_GE(file.size(), 20u);
    EXPECT_EQ("MSFT", file.substr(0, 4));
    EXPECT_EQ(std::string("\x09\x04\0\0", 4), file.substr(12, 4)) << "the file's locale";
    ITypeLib* loaded = nullptr;
    ASSERT_HR(S_OK, LoadTypeLibEx(component_path().c_str(), REGKIND_NONE, &loaded));
    ComPtr<ITypeLib> library(loaded);

    TLIBATTR* attributes = nullptr;
    ASSERT_HR(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_TAVIKLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    EXPECT_EQ(LOCALE_NEUTRAL, attributes->lcid) << "registered for callers of every locale";
    EXPECT_EQ(kSysKind, attributes->syskind);
    library->ReleaseTLibAttr(attributes);

    ITypeInfo* info = nullptr;
    ASSERT_HR(S_OK, library->GetTypeInfoOfGuid(CLSID_tavik_down, &info));
    ComPtr<ITypeInfo> coclass(info);
    EXPECT_EQ(L"tavik_down: tavik_down Class", documentation(coclass.get()));
    TYPEATTR* type = nullptr;
    ASSERT_HR(S_OK, coclass->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_COCLASS, type->typekind);
    EXPECT_TRUE(type->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(1, type->cImplTypes);
    coclass->ReleaseTypeAttr(type);
    INT flags = 0;
    EXPECT_HR(S_OK, coclass->GetImplTypeFlags(0, &flags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, flags);

    ASSERT_HR(S_OK, library->GetTypeInfoOfGuid(IID_Itavik_down, &info));
    ComPtr<ITypeInfo> dispatch(info);
    EXPECT_EQ(L"Itavik_down: Itavik_down Interface", documentation(dispatch.get()));
    ASSERT_HR(S_OK, dispatch->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_DISPATCH, type->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE,
              type->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE));
    dispatch->ReleaseTypeAttr(type);

    // The function-table side of the dual interface: AddUrl after IUnknown's three and
    // IDispatch's four members.
    HREFTYPE reference = 0;
    ASSERT_HR(S_OK, dispatch->GetRefTypeOfImplType(-1, &reference));
    ASSERT_HR(S_OK, dispatch->GetRefTypeInfo(reference, &info));
    ComPtr<ITypeInfo> vtable(info);
    ASSERT_HR(S_OK, vtable->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_INTERFACE, type->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION,
              type->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION));
    EXPECT_EQ(1, type->cFuncs);
    vtable->ReleaseTypeAttr(type);
    FUNCDESC* function = nullptr;
    ASSERT_HR(S_OK, vtable->GetFuncDesc(0, &function));
    EXPECT_EQ(1, function->memid);
    EXPECT_EQ(L"AddUrl: method AddUrl", documentation(vtable.get(), function->memid));
    EXPECT_EQ(static_cast<SHORT>(7 * sizeof(void*)), function->oVft);
    EXPECT_EQ(CC_STDCALL, function->callconv);
    EXPECT_EQ(VT_HRESULT, function->elemdescFunc.tdesc.vt);
    ASSERT_EQ(3, function->cParams);
    EXPECT_EQ(0, function->cParamsOpt);
    for (int i = 0; i < function->cParams; ++i) {
        EXPECT_EQ(VT_BSTR, function->lprgelemdescParam[i].tdesc.vt);
        EXPECT_EQ(PARAMFLAG_FIN, function->lprgelemdescParam[i].paramdesc.wParamFlags);
    }
    vtable->ReleaseFuncDesc(function);
    BSTR names[4] = {};
    UINT count = 0;
    EXPECT_HR(S_OK, vtable->GetNames(1, names, 4, &count));
    ASSERT_EQ(4u, count);
    EXPECT_STREQ(L"AddUrl", names[0]);
    EXPECT_STREQ(L"url", names[1]);
    EXPECT_STREQ(L"info", names[2]);
    EXPECT_STREQ(L"xinfo", names[3]);
    for (BSTR name : names)
        SysFreeString(name);

    OwnedBstr library_name, library_doc;
    library->GetDocumentation(-1, library_name.receive(), library_doc.receive(), nullptr, nullptr);
    EXPECT_STREQ(L"TAVIKLib", library_name.get());
    EXPECT_STREQ(L"Tavik 1.0 Type Library", library_doc.get());
}

TEST_F(Resources, RegistrarScriptNamesTheRemovalRules) {
    const std::string script = resource(L"REGISTRY", 101);
    ASSERT_FALSE(script.empty());
    for (const char* part :
         {"NoRemove CLSID", "ForceRemove " TAVIK_CLASS_ID_A, "ForceRemove 'Programmable'",
          "InprocServer32 = s '%MODULE%'", "val ThreadingModel = s 'Apartment'",
          "CurVer = s 'Tavik.tavik_down.1'", "'TypeLib' = s '" TAVIK_LIBRARY_ID_A "'"}) {
        EXPECT_NE(std::string::npos, script.find(part)) << part;
    }
}

TEST_F(Resources, StringAndVersionBlock) {
    wchar_t text[64] = {};
    EXPECT_EQ(5, LoadStringW(module_.get(), 100, text, 64));
    EXPECT_STREQ(L"Tavik", text);

    const std::wstring path = component_path();
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_NE(0u, size);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } strings[] = {
        {L"FileDescription", L"Tavik Module"},
        {L"FileVersion", L"1, 0, 0, 1"},
        {L"InternalName", L"Tavik"},
        {L"OriginalFilename", L"Tavik.DLL"},
        {L"ProductName", L"Tavik Module"},
        {L"ProductVersion", L"1, 0, 0, 1"},
        {L"OLESelfRegister", L""},
    };
    for (const auto& entry : strings) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + entry.name;
        wchar_t* value = nullptr;
        EXPECT_TRUE(
            VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << ansi(entry.name);
        EXPECT_STREQ(entry.value, value ? value : L"(missing)") << ansi(entry.name);
    }
}

}  // namespace
}  // namespace tavik_test
