// The context-menu page tavik_link.htm: its own script, run by cscript with a stand-in for the
// right-clicked page (Wine has no browser that runs context-menu pages).
#include <gtest/gtest.h>

#include "app_ids.h"
#include "support.h"

namespace registration_test {
namespace {

TEST(Page, ItHandsTheAddressUnderTheClickToTheComponentByItsProgId) {
    // The cases are in the script; it names each failed one.
    const ScriptRun run = run_script(L"page_test.js", {test_file(L"tavik_link.htm"), L"cases"});
    EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.output;
}

TEST(Page, ARightClickOnALinkReachesTheRunningWindow) {
    delete_key_tree(kMenuExtPath);
    ASSERT_TRUE(empty_clipboard());
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    Vantrel vantrel(folder.program());
    ASSERT_TRUE(vantrel.window());
    const std::string link = "thunder://QUFodHRwOi8vZXhhbXBsZS5jbi/PwtTYLnppcFpa";
    const ScriptRun run =
        run_script(L"page_test.js", {test_file(L"tavik_link.htm"), L"click", wide(link)});
    EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.output;
    EXPECT_TRUE(wait_until([&] { return vantrel.box(vantrel::id_encoded_box) == link; }))
        << vantrel.box(vantrel::id_encoded_box);
    delete_key_tree(kMenuExtPath);
}

}  // namespace
}  // namespace registration_test
