// Does what tavik_link.htm does for a right-click on a link: creates the hand-off component by
// its ProgID and hands it the address (the first argument) unchanged, with two empty texts.
// Exit code 0 when the call returned, 1 when creating the component or the call failed.
try {
    new ActiveXObject("Tavik.tavik_down").AddUrl(WScript.Arguments.Item(0), "", "");
} catch (e) {
    WScript.Echo("AddUrl failed: " + e.message);
    WScript.Quit(1);
}
WScript.Quit(0);
