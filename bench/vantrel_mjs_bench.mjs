// Conversions per second through vantrel.mjs and the WebAssembly core, strict and lenient,
// on the random links of the extension's tests (seed 1, so every run converts the same).
//   node bench/vantrel_mjs_bench.mjs [EXTENSION_DIR] [COUNT]
//   EXTENSION_DIR: the folder of vantrel.mjs (default build/wasm/unpacked-extension)
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

import { randomLink, randomSource } from '../tests/extension/links.mjs';

const dir = resolve(process.argv[2] ?? 'build/wasm/unpacked-extension');
const count = Number(process.argv[3] ?? 100000);
const { createConverter } = await import(pathToFileURL(join(dir, 'vantrel.mjs')));
const core = await createConverter();
const prefixes = core.schemes.map(({ prefix }) => prefix);
const random = randomSource(1);
const links = Array.from({ length: count }, () => new Uint8Array(randomLink(random, prefixes)));
const bytes = links.reduce((sum, link) => sum + link.length, 0);

for (const lenient of [false, true]) {
    const start = performance.now();
    let converted = 0;
    for (const link of links) converted += core.convert('auto', link, { lenient }).ok;
    const seconds = (performance.now() - start) / 1000;
    console.log(
        `${lenient ? 'lenient' : 'strict '}: ${count} links (${bytes} bytes) in ` +
            `${seconds.toFixed(2)} s: ${Math.round(count / seconds)} links/s, ${converted} converted`,
    );
}
