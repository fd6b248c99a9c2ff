// A script client of the hand-off component, as the browser's context-menu page is: it creates
// the component by its ProgID and hands it the link given as the first argument.
// Exit codes: 0 done; 2 AddUrl ran with too few arguments; 3 it failed otherwise than with
// DISP_E_BADPARAMCOUNT.
var link = WScript.Arguments.Item(0);
var tavik = new ActiveXObject("Tavik.tavik_down");

var DISP_E_BADPARAMCOUNT = 0x8002000E | 0;
try {
    tavik.AddUrl(link, "info");
    WScript.Quit(2);
} catch (e) {
    if (e.number != DISP_E_BADPARAMCOUNT) WScript.Quit(3);
}

tavik.AddUrl(link, "info", "xinfo");
WScript.Quit(0);
