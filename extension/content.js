// The content script of every page: finds links of the four kinds (in `href`, or in the
// `thunderhref`, `fg` and `qhref` attributes download pages use), turns a click on one into
// a download of its plain address, tells the service worker what a right-click is on, lists
// the page's links for the pop-up and writes the clipboard for the "copy" command.
// It converts nothing itself: the service worker and the pop-up hold the core.
(() => {
    const api = globalThis.browser ?? globalThis.chrome;

    // Download pages keep the real link in these attributes and a web address in href.
    const kLinkAttributes = ['thunderhref', 'fg', 'qhref', 'href'];
    const kLinkElements = 'a[href], area[href], [thunderhref], [fg], [qhref]';
    const kLookAhead = 64; // what the quick check reads of a text's beginning

    let schemes = []; // "thunder", "flashget", "qqdl", "fs2you", from the service worker
    let intercept = false;

    function send(request) {
        try {
            return api.runtime.sendMessage(request).catch(() => null);
        } catch {
            return Promise.resolve(null); // the extension was reloaded under this page
        }
    }

    async function hello() {
        const answer = await send({ type: 'hello' });
        if (!answer) return;
        schemes = answer.schemes;
        intercept = answer.intercept;
    }

    // A quick look whether a text may be such a link: its scheme (any case, maybe
    // percent-encoded ':'), after the spaces, quotes and '<' the forgiving reader drops.
    function mayBeLink(text) {
        if (typeof text !== 'string') return false;
        const head = text
            .slice(0, kLookAhead)
            .replace(/^[\s"'<]+/, '')
            .toLowerCase();
        return schemes.some(
            (scheme) => head.startsWith(`${scheme}:`) || head.startsWith(`${scheme}%3a`),
        );
    }

    function linkOf(element) {
        for (const attribute of kLinkAttributes) {
            const value = element.getAttribute(attribute);
            if (mayBeLink(value)) return value;
        }
        return null;
    }

    // The link of the nearest link element on the event's path, or null.
    function linkAt(event) {
        for (const node of event.composedPath()) {
            if (node instanceof Element && node.matches(kLinkElements)) return linkOf(node);
        }
        return null;
    }

    function selectedLink() {
        const text = String(window.getSelection() ?? '').trim();
        return mayBeLink(text) ? text : null;
    }

    function pageLinks() {
        const links = new Set();
        for (const element of document.querySelectorAll(kLinkElements)) {
            const link = linkOf(element);
            if (link) links.add(link);
        }
        return [...links];
    }

    async function copy(text) {
        try {
            await navigator.clipboard.writeText(text);
            return true;
        } catch {
            // Without the page's focus: the classic way, which clipboardWrite allows.
            const box = document.createElement('textarea');
            box.value = text;
            box.style.cssText = 'position:fixed;top:0;left:0;opacity:0';
            (document.body ?? document.documentElement).append(box);
            box.select();
            const copied = document.execCommand('copy');
            box.remove();
            return copied;
        }
    }

    // Capture on the window: this runs before any handler of the page. Only the user's own
    // clicks count: a page's script must not start downloads (or feed aria2) by clicking.
    window.addEventListener(
        'click',
        (event) => {
            if (!intercept || !event.isTrusted || event.button !== 0) return;
            const link = linkAt(event);
            if (!link) return;
            event.preventDefault();
            event.stopImmediatePropagation();
            send({ type: 'click', link });
        },
        true,
    );

    window.addEventListener(
        'contextmenu',
        (event) => {
            if (!event.isTrusted) return;
            send({ type: 'menu', link: linkAt(event) ?? selectedLink() });
        },
        true,
    );

    api.runtime.onMessage.addListener((request, sender, sendResponse) => {
        if (sender.id !== api.runtime.id) return false;
        if (request?.type === 'links') {
            sendResponse(pageLinks());
        } else if (request?.type === 'copy') {
            copy(String(request.text)).then(sendResponse);
            return true;
        }
        return false;
    });

    api.storage.onChanged.addListener(hello);
    hello();
})();
