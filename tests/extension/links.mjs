// Links for the differential tests: the strings of the core's own test tables, the fuzz
// corpus, and random links of the four kinds, damaged as pages, browsers and chats damage
// them. Everything is bytes (Buffer).
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

// The four prefixes, as the core has them: the tests take them from the module.
export function prefixesOf(core) {
    return core.schemes.map(({ prefix }) => prefix);
}

// The string literals of the C++ test sources, escapes decoded, as bytes.
export function tableStrings(sourceDir) {
    const strings = [];
    const dir = join(sourceDir, 'tests', 'core');
    for (const file of readdirSync(dir).filter((name) => name.endsWith('.cpp'))) {
        const source = readFileSync(join(dir, file), 'latin1');
        for (const [, body] of source.matchAll(/(?<![A-Za-z0-9_'])"((?:[^"\\\n]|\\.)*)"/g)) {
            strings.push(decodeCEscapes(body));
        }
    }
    return strings;
}

function decodeCEscapes(body) {
    const bytes = [];
    const simple = {
        'n': 10,
        'r': 13,
        't': 9,
        '0': 0,
        '\\': 92,
        '"': 34,
        "'": 39,
        'a': 7,
        'b': 8,
        'f': 12,
        'v': 11,
    };
    for (let i = 0; i < body.length; ++i) {
        if (body[i] !== '\\') {
            bytes.push(body.charCodeAt(i) & 0xff);
            continue;
        }
        const next = body[++i];
        const hex = next === 'x' && /^[0-9A-Fa-f]+/.exec(body.slice(i + 1));
        if (hex) {
            bytes.push(parseInt(hex[0].slice(-2), 16));
            i += hex[0].length;
        } else {
            bytes.push(simple[next] ?? next.charCodeAt(0) & 0xff);
        }
    }
    return Buffer.from(bytes);
}

// Every file of the fuzz corpus: links and Base64 bodies the fuzzers start from.
export function corpusFiles(sourceDir) {
    const root = join(sourceDir, 'fuzz', 'corpus');
    return readdirSync(root).flatMap((dir) =>
        readdirSync(join(root, dir)).map((file) => readFileSync(join(root, dir, file))),
    );
}

// A small, seeded random number generator (mulberry32): the same seed, the same links.
export function randomSource(seed) {
    let state = seed >>> 0;
    const next = () => {
        state = (state + 0x6d2b79f5) >>> 0;
        let t = state;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    const below = (n) => Math.floor(next() * n);
    return { next, below, pick: (items) => items[below(items.length)] };
}

const gbk = (...bytes) => Buffer.from(bytes);
const kPieces = [
    Buffer.from('file.zip'),
    Buffer.from('movie.mkv'),
    Buffer.from('a b'),
    Buffer.from('?x=1&y=2'),
    Buffer.from('#top'),
    Buffer.from('%E4%B8%AD'),
    Buffer.from('/'),
    Buffer.from('..'),
    Buffer.from('中文名.rar'),
    Buffer.from('下载'),
    gbk(0xd6, 0xd0, 0xce, 0xc4),
    gbk(0xcf, 0xc2, 0xd4, 0xd8),
    gbk(0x81, 0x5c),
    gbk(0x80),
    gbk(0xff),
    Buffer.from('|'),
    Buffer.from('[FLASHGET]'),
    Buffer.from('&'),
    Buffer.from('\\'),
];

function randomBytes(random, n) {
    return Buffer.from(Array.from({ length: n }, () => random.below(256)));
}

function randomAddress(random) {
    const parts = [
        Buffer.from(random.pick(['http://', 'https://', 'ftp://', '', 'ed2k://'])),
        Buffer.from(random.pick(['example.com', '127.0.0.1:8080', 'dl.test', '下载.cn'])),
    ];
    const count = random.below(6);
    for (let i = 0; i < count; ++i) {
        parts.push(Buffer.from('/'));
        parts.push(
            random.below(6) === 0 ? randomBytes(random, random.below(8)) : random.pick(kPieces),
        );
    }
    return Buffer.concat(parts);
}

// The body each scheme wraps around an address before its Base64 encoding.
function wrap(scheme, address, random) {
    switch (scheme) {
        case 0:
            return Buffer.concat([Buffer.from('AA'), address, Buffer.from('ZZ')]);
        case 1:
            return Buffer.concat([Buffer.from('[FLASHGET]'), address, Buffer.from('[FLASHGET]')]);
        case 2:
            return address;
        default: {
            const noScheme = address.toString('latin1').replace(/^[a-z0-9]*:\/\//, '');
            return Buffer.concat([
                Buffer.from(noScheme, 'latin1'),
                Buffer.from(`|${random.below(1e6)}`),
            ]);
        }
    }
}

function damage(link, random) {
    let text = link.toString('latin1');
    const steps = random.below(4);
    for (let i = 0; i < steps; ++i) {
        switch (random.below(11)) {
            case 0:
                text = text.replace(/^[A-Za-z0-9]+/, (name) => name.toUpperCase());
                break;
            case 1:
                text = text.replace(/^[A-Za-z0-9]+/, (name) => name.toLowerCase());
                break;
            case 2:
                text += '/';
                break;
            case 3:
                text = ` ${text}\t `;
                break;
            case 4:
                text = random.pick(['"', "'", '<']) + text + random.pick(['"', "'", '>']);
                break;
            case 5:
                text = encodeURIComponent(text).replace(/%([0-9A-F]{2})/g, '%$1');
                break;
            case 6: {
                // a space or a line break inside the body
                const at = random.below(text.length + 1);
                text = text.slice(0, at) + random.pick([' ', '\r\n', '\u3000']) + text.slice(at);
                break;
            }
            case 7: {
                // broken Base64: characters outside its alphabet
                const at = random.below(text.length + 1);
                text =
                    text.slice(0, at) +
                    random.pick(['!', '*', '-', '_', '==', '%']) +
                    text.slice(at);
                break;
            }
            case 8:
                text = text.slice(0, random.below(text.length + 1));
                break;
            case 9:
                text += random.pick(['&k=1', '&', '&1/']);
                break;
            default:
                text = text.replace(/=+$/, '');
                break;
        }
    }
    // latin1 keeps the bytes; what encodeURIComponent made of bytes >= 0x80 is ASCII anyway.
    return Buffer.from(text, 'latin1');
}

// One random link: a converted address wrapped in one scheme (sometimes nested in another
// link), Base64-encoded, perhaps damaged; now and then plain random bytes.
export function randomLink(random, prefixes) {
    if (random.below(20) === 0) return randomBytes(random, random.below(40));
    let address = randomAddress(random);
    let link;
    const depth = 1 + (random.below(5) === 0 ? random.below(5) : 0);
    for (let level = 0; level < depth; ++level) {
        const scheme = random.below(4);
        link = Buffer.concat([
            Buffer.from(prefixes[scheme]),
            Buffer.from(wrap(scheme, address, random).toString('base64')),
        ]);
        address = link;
    }
    return random.below(2) === 0 ? damage(link, random) : link;
}
