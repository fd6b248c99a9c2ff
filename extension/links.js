// Links as the extension reads them: forgivingly, of any of the four schemes, through the
// WebAssembly core.
import { createConverter } from './vantrel.mjs';

let converter;
export function converterReady() {
    converter ??= createConverter();
    return converter;
}

// The plain address of a link found on a page (a string), or { ok: false }: also for a link
// too large for the core's memory (the core then starts afresh).
export function convertLink(core, link) {
    try {
        return core.convert('auto', new TextEncoder().encode(link), { lenient: true });
    } catch (error) {
        console.warn('vantrel:', error);
        return { ok: false, error: 'memory' };
    }
}

// The URL schemes of the four kinds of links, in lower case ("thunder", "flashget", ...):
// what the content script looks for before it asks for a conversion.
export function urlSchemes(core) {
    return core.schemes.map(({ prefix }) => prefix.slice(0, prefix.indexOf(':')).toLowerCase());
}

// A file name that browsers and aria2 accept: no folders, no characters Windows forbids, no
// control characters, not empty (empty lets the download pick the name itself).
const kForbidden = /[\u0000-\u001f\u007f"*/:<>?\\|]/g;
export function safeFileName(name) {
    const cleaned = name.replace(kForbidden, '_').replace(/^[\s.]+|[\s.]+$/g, '');
    return cleaned.slice(0, 200);
}
