// vantrel.mjs and the WebAssembly core against the native vantrel-convert: the same bytes
// out and the same failures, strict and lenient, for every scheme choice, on the strings of
// the core's test tables, the fuzz corpus and a few thousand random links.
//   VANTREL_EXTENSION_DIR  the folder of vantrel.mjs and vantrel_core.wasm
//   VANTREL_CONVERT        the native vantrel-convert
//   VANTREL_SEED           the random links' seed (default: a new one, printed)
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync, statSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import { corpusFiles, prefixesOf, randomLink, randomSource, tableStrings } from './links.mjs';

const extensionDir = process.env.VANTREL_EXTENSION_DIR;
const convertProgram = process.env.VANTREL_CONVERT;
const sourceDir = resolve(import.meta.dirname ?? new URL('.', import.meta.url).pathname, '../..');
assert.ok(extensionDir && convertProgram, 'set VANTREL_EXTENSION_DIR and VANTREL_CONVERT');

const { createConverter, displayText } = await import(
    pathToFileURL(join(extensionDir, 'vantrel.mjs'))
);
const core = await createConverter();
const kChoices = ['auto', ...core.schemes.map(({ name }) => name)];
const kRandomLinks = 3000;

async function waitFor(condition, timeoutMs = 5000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
        const value = condition();
        if (value) return value;
        assert.ok(Date.now() < end, 'timed out');
        await new Promise((resolve) => setTimeout(resolve, 10));
    }
}

function native(args, input) {
    const run = spawnSync(convertProgram, args, { input, maxBuffer: 1 << 30 });
    assert.equal(run.error, undefined);
    return run;
}

// The failed line numbers that --lines reports on standard error.
function failedLines(stderr) {
    return new Set([...stderr.toString().matchAll(/^line (\d+):/gm)].map(([, n]) => Number(n)));
}

// What --lines cannot carry (line breaks, zero bytes, blank lines) goes one by one.
const fitsOnALine = (link) =>
    !/[\n\r\0]/.test(link.toString('latin1')) && link.toString('latin1').trim() !== '';

// Compares a batch on one line each: raw bytes and failures, then the finisher's fields.
function compareLines(links, choice, lenient) {
    const options = lenient ? ['--lenient'] : [];
    const input = Buffer.concat(links.flatMap((link) => [link, Buffer.from('\n')]));
    const raw = native([...options, '--lines', choice], input);
    const failed = failedLines(raw.stderr);
    const lines = raw.stdout.toString('latin1').split('\n');
    const json = native([...options, '--lines', '--format', 'json', choice], input);
    const objects = new Map(
        json.stdout
            .toString()
            .split('\n')
            .filter(Boolean)
            .map((line) => JSON.parse(line))
            .map((object) => [object.line, object]),
    );

    links.forEach((link, i) => {
        const line = i + 1;
        const trace = `${choice}${lenient ? ' --lenient' : ''}, line ${line}: ${JSON.stringify(link.toString('latin1'))}`;
        const result = core.convert(choice, link, { lenient });
        const object = objects.get(line);
        if (!result.ok) {
            assert.equal(result.error, 'format', trace);
            assert.ok(failed.has(line), `native converted what the module did not: ${trace}`);
            assert.equal(object.error, 'format', trace);
            return;
        }
        const address = Buffer.from(result.address);
        if (address.includes(0x0a) || address.includes(0x0d)) {
            assert.ok(failed.has(line), trace); // raw --lines cannot carry a line break
        } else {
            assert.ok(!failed.has(line), `native failed what the module converted: ${trace}`);
            assert.deepEqual(Buffer.from(lines[i], 'latin1'), address, trace);
        }
        assert.equal(object.scheme, result.scheme, trace);
        assert.equal(object.ascii, result.ascii, trace);
        assert.equal(object.charset, result.charset, trace);
        // Text made of bytes that are not valid GBK differs between decoders (iconv, ICU,
        // the browsers' WHATWG decoder): the bytes above are what must agree.
        const decodedAlike = (a, b) => a.includes('\ufffd') || b.includes('\ufffd') || a === b;
        if (result.charset !== 'gbk') assert.equal(object.address, result.display, trace);
        assert.ok(decodedAlike(object.address, result.display), trace);
        assert.ok(
            decodedAlike(object.name, result.name),
            `${trace}: ${object.name} ${result.name}`,
        );
    });
}

// One link through standard input (read whole, cut at the first zero byte): exact bytes.
function compareOne(link, choice, lenient) {
    const run = native([...(lenient ? ['--lenient'] : []), choice], link);
    const result = core.convert(choice, link, { lenient });
    const trace = `${choice}${lenient ? ' --lenient' : ''}: ${JSON.stringify(link.toString('latin1'))}`;
    if (!result.ok) {
        assert.equal(run.status, 2, trace);
        assert.equal(run.stdout.length, 0, trace);
        return;
    }
    assert.equal(run.status, 0, trace);
    assert.deepEqual(
        run.stdout,
        Buffer.concat([Buffer.from(result.address), Buffer.from('\n')]),
        trace,
    );
}

function compareAll(links) {
    const batch = links.filter(fitsOnALine);
    const single = links.filter((link) => !fitsOnALine(link));
    for (const lenient of [false, true]) {
        for (const choice of kChoices) compareLines(batch, choice, lenient);
        // A process per link is slow: each of these goes through one scheme choice.
        single.forEach((link, i) => compareOne(link, kChoices[i % kChoices.length], lenient));
    }
}

describe('the module and vantrel-convert agree', () => {
    test('on the strings of the core test tables, bare and as the body of every scheme', () => {
        const strings = tableStrings(sourceDir);
        assert.ok(strings.length > 100, `only ${strings.length} strings found in tests/core`);
        const links = strings.flatMap((bytes) => [
            bytes,
            ...prefixesOf(core).map((prefix) =>
                Buffer.concat([Buffer.from(prefix), Buffer.from(bytes.toString('base64'))]),
            ),
        ]);
        compareAll(links);
    });

    test('on the fuzz corpus', () => {
        compareAll(corpusFiles(sourceDir));
    });

    test(`on ${kRandomLinks} random links, damaged and nested`, () => {
        const seed = Number(process.env.VANTREL_SEED ?? Math.floor(Math.random() * 2 ** 32));
        console.log(`random links from VANTREL_SEED=${seed}`);
        const random = randomSource(seed);
        const links = Array.from({ length: kRandomLinks }, () =>
            randomLink(random, prefixesOf(core)),
        );
        compareAll(links);
    });
});

describe('vantrel.mjs', () => {
    test('the module stays within 64 KiB', () => {
        const size = statSync(join(extensionDir, 'vantrel_core.wasm')).size;
        assert.ok(size <= 64 * 1024, `vantrel_core.wasm is ${size} bytes`);
    });

    test('results have the documented shape', () => {
        const result = core.convert('qqdl', new TextEncoder().encode('qqdl://1tDOxA=='));
        assert.deepEqual(result, {
            ok: true,
            scheme: 'qqdl',
            address: new Uint8Array([0xd6, 0xd0, 0xce, 0xc4]),
            ascii: '%D6%D0%CE%C4',
            display: '中文',
            charset: 'gbk',
            name: '中文',
        });
        assert.deepEqual(core.convert('auto', new TextEncoder().encode('http://a/b')), {
            ok: false,
            error: 'format',
        });
    });

    test('strict by default, lenient on request', () => {
        const damaged = new TextEncoder().encode(' THUNDER://QUFodHRwOi8vYS9iLnppcFpa/ ');
        assert.equal(core.convert('auto', damaged).ok, false);
        assert.equal(core.convert('auto', damaged, { lenient: false }).ok, false);
        assert.equal(core.convert('auto', damaged, { lenient: true }).ascii, 'http://a/b.zip');
        assert.equal(core.convert('qqdl', damaged, { lenient: true }).ok, false);
    });

    test('the display text follows the charset, invalid bytes as U+FFFD', () => {
        const cases = [
            { body: [0xe4, 0xb8, 0xad, 0x2f, 0x61], charset: 'utf-8', display: '中/a', name: 'a' },
            { body: [0xd6, 0xd0, 0x2f, 0xce, 0xc4], charset: 'gbk', display: '中/文', name: '文' },
            { body: [0x61, 0x2f, 0xd6, 0xd0, 0x80], charset: 'gbk', display: 'a/中€', name: '中€' },
            { body: [0x61, 0x2f, 0x62], charset: 'ascii', display: 'a/b', name: 'b' },
        ];
        for (const { body, charset, display, name } of cases) {
            const link = `qqdl://${Buffer.from(body).toString('base64')}`;
            const result = core.convert('qqdl', new TextEncoder().encode(link));
            assert.deepEqual(
                { charset: result.charset, display: result.display, name: result.name },
                { charset, display, name },
                link,
            );
        }
        // Invalid GBK is left to the browsers' decoder (the end-to-end tests): Node's ICU one
        // drops some invalid bytes where the WHATWG decoder writes U+FFFD.
        assert.equal(displayText(new Uint8Array([0xc3, 0x28]), 'utf-8'), '\ufffd(');
    });

    test('bytes after a zero byte are not read, as vantrel-convert reads standard input', () => {
        const link = Buffer.from('qqdl://QUJD\0QUJD');
        assert.deepEqual(Buffer.from(core.convert('qqdl', link).address), Buffer.from('ABC'));
    });

    test('a string is taken as its UTF-8 bytes; other values and schemes are refused', () => {
        assert.equal(core.convert('qqdl', 'qqdl://QUJD').display, 'ABC');
        assert.throws(() => core.convert('ftp', 'qqdl://QUJD'), TypeError);
        assert.throws(() => core.convert('auto', [1, 2, 3]), TypeError);
    });

    test('a link of megabytes converts, in time linear in its size', () => {
        const body = Buffer.alloc(3 << 20, 'A').toString('base64');
        const time = (link) => {
            const start = performance.now();
            const result = core.convert('qqdl', link);
            assert.equal(result.ok, true);
            return performance.now() - start;
        };
        const small = time(`qqdl://${body.slice(0, body.length / 8)}`);
        const large = time(`qqdl://${body}`);
        assert.ok(large < 40 * Math.max(small, 5), `${small} ms for 1/8, ${large} ms for all`);
    });

    test("a link too large for the module's memory throws, and the next conversion works", async () => {
        const other = await createConverter();
        // The link itself fits into the module's 256 MiB; its decoding does not.
        const huge = new Uint8Array(160 << 20).fill(0x41);
        huge.set(new TextEncoder().encode('qqdl://'));
        assert.throws(() => other.convert('qqdl', huge), WebAssembly.RuntimeError);
        const converted = await waitFor(() => {
            try {
                return other.convert('qqdl', 'qqdl://QUJD');
            } catch {
                return null; // still restarting
            }
        });
        assert.equal(converted.display, 'ABC');
        assert.equal(other.convert('qqdl', `qqdl://${'QUJD'.repeat(4 << 20)}`).ok, true);
    });

    test('the module loads again in a fresh realm and keeps no state between calls', async () => {
        const other = await createConverter();
        const link = 'thunder://QUFodHRwOi8vZXhhbXBsZS5jb20vZmlsZS56aXBaWg==';
        assert.deepEqual(other.convert('auto', link), core.convert('auto', link));
        assert.deepEqual(core.convert('auto', link), core.convert('auto', link));
    });
});
