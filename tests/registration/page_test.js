// Runs the script of tavik_link.htm the way Internet Explorer runs it for the context-menu
// entry, with a stand-in for external.menuArguments, the window of the right-clicked page.
//   cscript page_test.js PAGE cases      the cases below, with a stand-in for ActiveXObject that
//                                        records the calls; exit code: the failed cases
//   cscript page_test.js PAGE click URL  a right-click on a link to URL, with the real
//                                        ActiveXObject
var fso = new ActiveXObject("Scripting.FileSystemObject");
var pageText = fso.OpenTextFile(WScript.Arguments.Item(0), 1).ReadAll();

var pageScript = "";
var scriptBlocks = /<script\b[^>]*>([\s\S]*?)<\/script>/gi;
for (var block = scriptBlocks.exec(pageText); block; block = scriptBlocks.exec(pageText)) {
    pageScript += block[1] + "\n";
}

// The page's script sees the two names given here instead of the host's.
function runPage(external, ActiveXObject) {
    eval(pageScript);
}

// An element of the right-clicked page: its attributes as the page's author wrote them, its
// properties as the browser resolved them.
function element(tag, written, resolved, parent) {
    var made = { tagName: tag, parentElement: parent || null };
    for (var name in resolved) made[name] = resolved[name];
    made.getAttribute = function (name, flags) {
        return written[name] === undefined ? null : written[name];
    };
    return made;
}
function link(href, resolved, parent) {
    return element("A", { href: href }, { href: resolved || href }, parent);
}
function image(src, resolved, parent) {
    return element("IMG", { src: src }, { src: resolved || src }, parent);
}

var pageTitle = "Downloads \u4E0B\u8F7D";
var pageAddress = "http://pages.example.cn/list.htm";
function rightClick(clicked) {
    return {
        menuArguments: {
            event: { srcElement: clicked },
            document: { title: pageTitle },
            location: { href: pageAddress }
        }
    };
}
function call(url) {
    return "Tavik.tavik_down|" + url + "|" + pageTitle + "|" + pageAddress;
}

if (WScript.Arguments.Item(1) == "click") {
    runPage(rightClick(element("SPAN", {}, {}, link(WScript.Arguments.Item(2)))), ActiveXObject);
    WScript.Quit(0);
}

var thunder = "thunder://QUFodHRwOi8vYS9iLnppcFpa";

var cases = [
    { name: "a link", external: rightClick(link(thunder)), calls: [call(thunder)] },
    {
        name: "text inside a link: the link's address as written",
        external: rightClick(element("B", {}, {}, element("SPAN", {}, {},
            link("Flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&18",
                 "flashget://w0zmqvnir0vuxwh0dha6ly9hl2iuzxbw0zmqvnir0vux==&18")))),
        calls: [call("Flashget://W0ZMQVNIR0VUXWh0dHA6Ly9hL2IuemlwW0ZMQVNIR0VUXQ==&18")]
    },
    {
        name: "an image",
        external: rightClick(image("http://img.example.cn/a.jpg")),
        calls: [call("http://img.example.cn/a.jpg")]
    },
    {
        name: "a linked image: the link",
        external: rightClick(image("http://img.example.cn/a.jpg", null, link("qqdl://aHR0cDovL2EvYg=="))),
        calls: [call("qqdl://aHR0cDovL2EvYg==")]
    },
    {
        name: "a relative link: the address the browser made of it",
        external: rightClick(link("files/a.zip", "http://pages.example.cn/files/a.zip")),
        calls: [call("http://pages.example.cn/files/a.zip")]
    },
    {
        name: "a relative image",
        external: rightClick(image("/a.jpg", "http://pages.example.cn/a.jpg")),
        calls: [call("http://pages.example.cn/a.jpg")]
    },
    {
        name: "spaces around the written address",
        external: rightClick(link("  fs2you://ZnMyeW91  ")),
        calls: [call("fs2you://ZnMyeW91")]
    },
    {
        name: "characters beyond ASCII",
        external: rightClick(link("http://example.cn/\u4E0B\u8F7D.zip?a=1&b=%20")),
        calls: [call("http://example.cn/\u4E0B\u8F7D.zip?a=1&b=%20")]
    },
    {
        name: "an anchor without href inside a link",
        external: rightClick(element("A", {}, { href: "" }, link(thunder))),
        calls: [call(thunder)]
    },
    { name: "no link and no image", external: rightClick(element("DIV", {}, {}, element("BODY", {}, {}))), calls: [] },
    { name: "an anchor without href", external: rightClick(element("A", {}, { href: "" })), calls: [] },
    { name: "nothing under the click", external: rightClick(null), calls: [] },
    { name: "not run from the context menu", external: {}, calls: [] },
    { name: "no external object at all", external: undefined, calls: [] },
    {
        name: "a page that hides its title and location",
        external: {
            menuArguments: {
                event: { srcElement: link(thunder) },
                document: null,
                location: null
            }
        },
        calls: ["Tavik.tavik_down|" + thunder + "||"]
    },
    { name: "the component is not registered", external: rightClick(link(thunder)), calls: [], noComponent: true }
];

var failures = 0;
for (var i = 0; i < cases.length; ++i) {
    var c = cases[i];
    var calls = [];
    var Recorder = function (progid) {
        if (c.noComponent) throw new Error("Automation server can't create object");
        this.AddUrl = function (url, info, xinfo) {
            calls.push([progid, url, info, xinfo].join("|"));
        };
    };
    var problem = "";
    try {
        runPage(c.external, Recorder);
    } catch (e) {
        problem = "the page let an error through: " + e.message;
    }
    var got = calls.join("\n");
    var wanted = c.calls.join("\n");
    if (!problem && got != wanted) problem = "expected [" + wanted + "], got [" + got + "]";
    if (problem) {
        ++failures;
        WScript.Echo(c.name + ": " + problem);
    }
}
WScript.Quit(failures);
