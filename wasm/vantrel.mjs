// The one way JavaScript reaches Vantrel's core: the link converters and the address
// finisher, compiled to WebAssembly (vantrel_core.wasm, beside this file). The same file
// runs unchanged in browsers (pages, workers, extensions) and in Node 18 and later.
//
//   import { createConverter } from './vantrel.mjs';
//   const v = await createConverter();
//   v.convert('auto', bytes, { lenient: true })
//     -> { ok: true, scheme, address, ascii, display, charset, name }
//     -> { ok: false, error: 'format' }

const moduleUrl = new URL('vantrel_core.wasm', import.meta.url);

// Positions of the words of the record vantrel_convert returns (see wasm/exports.cpp).
const Record = {
    ok: 0,
    scheme: 4,
    charset: 8,
    nameCharset: 12,
    address: 16,
    addressSize: 20,
    ascii: 24,
    asciiSize: 28,
    name: 32,
    nameSize: 36,
};

async function moduleBytes() {
    if (moduleUrl.protocol === 'file:') {
        const { readFile } = await import('node:fs/promises');
        return readFile(moduleUrl);
    }
    const response = await fetch(moduleUrl);
    if (!response.ok) throw new Error(`vantrel: cannot load ${moduleUrl}: ${response.status}`);
    return response.arrayBuffer();
}

// The system calls the module may make: the C++ runtime's last words before it aborts (on an
// exhausted memory) go to standard error; nothing else is ever written, sought or closed.
const kBadFile = 8; // WASI's EBADF
function systemCalls(memory) {
    return {
        fd_write(fd, iovs, count, written) {
            const view = new DataView(memory().buffer);
            let text = '';
            let total = 0;
            for (let i = 0; i < count; ++i) {
                const at = view.getUint32(iovs + 8 * i, true);
                const size = view.getUint32(iovs + 8 * i + 4, true);
                text += new TextDecoder().decode(new Uint8Array(memory().buffer, at, size));
                total += size;
            }
            if (fd === 2) console.error(`vantrel core: ${text}`);
            view.setUint32(written, total, true);
            return 0;
        },
        fd_seek: () => kBadFile,
        fd_close: () => kBadFile,
    };
}

// A reactor module: _initialize runs its static constructors, once, before anything else.
async function instantiate(module) {
    let exports;
    const imports = { wasi_snapshot_preview1: systemCalls(() => exports.memory) };
    const instance = await WebAssembly.instantiate(module, imports);
    exports = instance.exports;
    exports._initialize();
    return exports;
}

// Text of the bytes by their charset: GBK for 'gbk', UTF-8 otherwise; bytes that are not
// valid in it become U+FFFD.
const decoders = { gbk: new TextDecoder('gbk'), utf8: new TextDecoder('utf-8') };
export function displayText(bytes, charset) {
    return (charset === 'gbk' ? decoders.gbk : decoders.utf8).decode(bytes);
}

class Converter {
    #module;
    #core;
    #schemeCodes = new Map();
    #schemes = [];

    constructor(module, core) {
        this.#module = module;
        this.#core = core;
        for (let code = 0; ; ++code) {
            const name = this.#string(this.#core.vantrel_scheme_name(code));
            if (name === null) break;
            this.#schemeCodes.set(name, code);
            this.#schemes.push({
                name,
                prefix: this.#string(this.#core.vantrel_scheme_prefix(code)),
            });
        }
        // The code one past the last scheme reads the scheme from the link's prefix.
        this.#schemeCodes.set('auto', this.#schemes.length);
        this.#schemes.forEach(Object.freeze);
        Object.freeze(this.#schemes);
    }

    // The four schemes in the core's order: { name, prefix } ("thunder", "thunder://"; ...).
    get schemes() {
        return this.#schemes;
    }

    // Converts the link's bytes (a Uint8Array; a string is taken as its UTF-8 bytes) with the
    // scheme named (or 'auto': by the link's prefix). Strict by default, exactly as
    // vantrel-convert; { lenient: true } reads links as browsers and pages damage them.
    convert(scheme, bytes, { lenient = false } = {}) {
        const code = this.#schemeCodes.get(scheme);
        if (code === undefined) throw new TypeError(`vantrel: unknown scheme ${String(scheme)}`);
        if (typeof bytes === 'string') bytes = new TextEncoder().encode(bytes);
        if (!(bytes instanceof Uint8Array))
            throw new TypeError('vantrel: bytes must be a Uint8Array');
        if (this.#core === null) throw new Error('vantrel: the core is restarting');
        try {
            return this.#convert(code, bytes, lenient);
        } catch (error) {
            // A trap (memory exhausted) may leave the module's heap half-updated: start afresh.
            if (error instanceof WebAssembly.RuntimeError) {
                this.#core = null;
                instantiate(this.#module).then((core) => {
                    this.#core = core;
                });
            }
            throw error;
        }
    }

    #convert(code, bytes, lenient) {
        const core = this.#core;
        const link = core.vantrel_alloc(bytes.length);
        if (link === 0) throw new RangeError('vantrel: out of memory');
        new Uint8Array(core.memory.buffer, link, bytes.length).set(bytes);
        const record = core.vantrel_convert(code, lenient ? 1 : 0, link, bytes.length);
        core.vantrel_free(link);
        if (record === 0) throw new RangeError('vantrel: out of memory');
        try {
            const words = new DataView(core.memory.buffer, record, 40);
            const word = (at) => words.getUint32(at, true);
            if (word(Record.ok) === 0) return { ok: false, error: 'format' };
            const copy = (at, size) =>
                new Uint8Array(core.memory.buffer, word(at), word(size)).slice();
            const address = copy(Record.address, Record.addressSize);
            const charset = this.#string(word(Record.charset));
            return {
                ok: true,
                scheme: this.#string(word(Record.scheme)),
                address,
                ascii: new TextDecoder().decode(copy(Record.ascii, Record.asciiSize)),
                display: displayText(address, charset),
                charset,
                name: displayText(
                    copy(Record.name, Record.nameSize),
                    this.#string(word(Record.nameCharset)),
                ),
            };
        } finally {
            core.vantrel_free(record);
        }
    }

    // The zero-terminated ASCII string at `pointer`, or null for a null pointer.
    #string(pointer) {
        if (pointer === 0) return null;
        const memory = new Uint8Array(this.#core.memory.buffer);
        const end = memory.indexOf(0, pointer);
        return String.fromCharCode(...memory.subarray(pointer, end));
    }
}

let compiled;

// Loads vantrel_core.wasm (once per JavaScript realm) and returns a converter.
export async function createConverter() {
    compiled ??= moduleBytes().then((bytes) => WebAssembly.compile(bytes));
    const module = await compiled;
    return new Converter(module, await instantiate(module));
}
