// The extension end to end in headless Chromium: loaded unpacked, on pages served from
// 127.0.0.1 with links of the four kinds (some damaged as browsers and pages damage them,
// some with Chinese names in UTF-8 or GBK); clicks, the context-menu commands, the pop-up,
// the options with a real aria2, and hostile pages.
//   VANTREL_EXTENSION_DIR   the unpacked extension (the wasm preset's build)
//   VANTREL_CHROMIUM        the browser (default /usr/bin/chromium)
//   VANTREL_SCREENSHOT      when set: where to save a picture of the pop-up over the test page
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import {
    existsSync,
    mkdirSync,
    mkdtempSync,
    readdirSync,
    readFileSync,
    rmSync,
    writeFileSync,
} from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

import { fileContent, startServer } from './server.mjs';

const extensionDir = process.env.VANTREL_EXTENSION_DIR;
assert.ok(extensionDir, 'set VANTREL_EXTENSION_DIR');
const { createConverter } = await import(pathToFileURL(join(extensionDir, 'vantrel.mjs')));
const prefixes = (await createConverter()).schemes.map(({ prefix }) => prefix);

// The messages the user sees, in Simplified Chinese (the browser runs with --lang=zh-CN).
const messages = JSON.parse(readFileSync(join(extensionDir, '_locales', 'zh_CN', 'messages.json')));
const say = (name, ...substitutions) =>
    messages[name].message.replace(/\$(\d)/g, (all, n) => substitutions[n - 1]);

const work = mkdtempSync(join(tmpdir(), 'vantrel-extension-'));
const downloads = join(work, 'downloads');

// ---- links -------------------------------------------------------------------------------

const base64 = (...parts) => Buffer.concat(parts.map((p) => Buffer.from(p))).toString('base64');
const gbk = (...bytes) => Buffer.from(bytes);
const kGbkDownload = gbk(0xcf, 0xc2, 0xd4, 0xd8); // 下载 in code page 936
const gbkFileContent = fileContent(
    Buffer.concat([Buffer.from('/files/'), kGbkDownload, Buffer.from('.rar')]),
);

const linkTo = {
    thunder: (address) => prefixes[0] + base64('AA', address, 'ZZ'),
    flashget: (address) => `${prefixes[1]}${base64('[FLASHGET]', address, '[FLASHGET]')}&k=1`,
    qqdl: (address) => prefixes[2] + base64(address),
    rayfile: (address) => prefixes[3] + base64(address.subarray(7), '|1234'),
};

const upperCaseScheme = (link) => link.replace(/^[a-z0-9]+/i, (name) => name.toUpperCase());

let origin;
const address = (...nameParts) =>
    Buffer.concat([`${origin}/files/`, ...nameParts].map((part) => Buffer.from(part)));

// The test page: [id, attribute html, the file name the download gets].
function testLinks() {
    return [
        ['utf8-thunder', `href="${linkTo.thunder(address('中文名.zip'))}"`, '中文名.zip'],
        ['gbk-flashget', `href="${linkTo.flashget(address(kGbkDownload, '.rar'))}"`, '下载.rar'],
        [
            'qqdl-in-qhref',
            `href="http://example.invalid/" qhref="${linkTo.qqdl(address('plain.txt'))}"`,
            'plain.txt',
        ],
        [
            'rayfile-damaged',
            `href="${upperCaseScheme(linkTo.rayfile(address('ray.bin')))}/"`,
            'ray.bin',
        ],
        [
            'thunder-encoded',
            `href="http://example.invalid/" thunderhref="${encodeURIComponent(
                linkTo.thunder(address('编码.txt')),
            )}"`,
            '编码.txt',
        ],
        ['flashget-fg', `href="#" fg="${linkTo.flashget(address('fg.txt'))}"`, 'fg.txt'],
    ];
}

function testPage() {
    const rows = testLinks().map(
        ([id, attributes]) => `<li><a id="${id}" ${attributes}>${id}</a></li>`,
    );
    return `<!doctype html><meta charset="utf-8"><title>下载页</title>
<style>body{font:15px "WenQuanYi Micro Hei",sans-serif;margin:24px}li{margin:8px 0}</style>
<h1>资源下载</h1><ul>${rows.join('')}
<li><a id="plain-http" href="${origin}/files/web.txt">web.txt</a></li></ul>
<p id="selectable">${linkTo.qqdl(address('selected.txt'))}</p>
<script>
  window.pageHandlerRuns = 0;
  document.addEventListener('click', () => { window.pageHandlerRuns++; });
  for (const a of document.querySelectorAll('a')) a.onclick = () => { window.pageHandlerRuns++; };
</script>`;
}

// ---- hostile pages -----------------------------------------------------------------------

function manyLinksPage() {
    const rows = [];
    for (let i = 0; i < 10000; ++i) {
        const link =
            i % 3 === 0
                ? `${prefixes[0]}${'!*'.repeat(i % 7)}QUJD${i}`
                : linkTo.qqdl(address(`many-${i}.txt`));
        rows.push(`<a id="m${i}" href="${link}">${i}</a> `);
    }
    return `<!doctype html><meta charset="utf-8">
<script>window.errors = 0; onerror = () => errors++;</script>${rows.join('')}`;
}

function hugeLinksPage() {
    const megabytes = (n) => 'QUJD'.repeat((n << 20) / 4);
    return `<!doctype html><meta charset="utf-8">
<a id="huge1" href="${prefixes[2]}${megabytes(1)}">1 MiB</a>
<a id="huge3" href="${prefixes[0]}${megabytes(3)}">3 MiB</a>
<a id="broken1" href="${prefixes[0]}!!!!****####">broken</a>
<a id="broken2" href="${prefixes[2]}中文不是Base64">broken</a>
<a id="broken3" href="${prefixes[1]}%%%%%%/">broken</a>
<a id="broken4" href="${prefixes[3]}====">broken</a>`;
}

// ---- browser -----------------------------------------------------------------------------

let browser;
let worker;
let workerErrors = [];
let server;

async function freePort() {
    const probe = createServer();
    await new Promise((resolve) => probe.listen(0, '127.0.0.1', resolve));
    const { port } = probe.address();
    await new Promise((resolve) => probe.close(resolve));
    return port;
}

before(async () => {
    ({ server, origin } = await startServer({
        '/links.html': testPage,
        '/many.html': manyLinksPage,
        '/huge.html': hugeLinksPage,
    }));
    // Downloads go to the profile's download folder without a question. (CDP's
    // Browser.setDownloadBehavior would also work, but it names files by their URL and
    // ignores the name an extension gives.)
    const profile = join(work, 'profile');
    mkdirSync(join(profile, 'Default'), { recursive: true });
    writeFileSync(
        join(profile, 'Default', 'Preferences'),
        JSON.stringify({
            download: {
                default_directory: downloads,
                prompt_for_download: false,
                directory_upgrade: true,
            },
        }),
    );
    browser = await puppeteer.launch({
        executablePath: process.env.VANTREL_CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        userDataDir: profile,
        args: [
            '--no-sandbox',
            '--disable-gpu',
            '--disable-quic',
            '--no-first-run',
            '--disable-background-networking',
            '--disable-component-update',
            '--disable-sync',
            '--lang=zh-CN',
            `--disable-extensions-except=${extensionDir}`,
            `--load-extension=${extensionDir}`,
        ],
    });
    const target = await browser.waitForTarget(
        (t) => t.type() === 'service_worker' && t.url().endsWith('/background.js'),
    );
    worker = await target.worker();
    const session = await target.createCDPSession();
    session.on('Runtime.exceptionThrown', ({ exceptionDetails }) =>
        workerErrors.push(exceptionDetails.exception?.description ?? exceptionDetails.text),
    );
    await session.send('Runtime.enable');
});

after(async () => {
    await browser?.close();
    server?.close();
    rmSync(work, { recursive: true, force: true });
});

async function openPage(path) {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error));
    await page.goto(`${origin}${path}`);
    await page.bringToFront();
    // The content script finds links once the service worker has told it the schemes.
    await waitFor(
        () =>
            worker.evaluate(async (url) => {
                const [tab] = await chrome.tabs.query({ url });
                const links = await chrome.tabs
                    .sendMessage(tab.id, { type: 'links' }, { frameId: 0 })
                    .catch(() => []);
                return links.length > 0;
            }, page.url()),
        `the content script in ${path}`,
    );
    return { page, errors };
}

async function waitFor(condition, what, timeoutMs = 15000) {
    const end = Date.now() + timeoutMs;
    for (;;) {
        const value = await condition();
        if (value) return value;
        if (Date.now() > end)
            assert.fail(`timed out waiting for ${typeof what === 'function' ? what() : what}`);
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
}

async function openOptions() {
    const page = await browser.newPage();
    const id = new URL(worker.url()).host;
    await page.goto(`chrome-extension://${id}/options.html`);
    await page.waitForFunction(() => document.querySelector('[name=aria2Url]').value !== '');
    return page;
}

const statusOf = (page) => page.$eval('#status', (s) => s.textContent);

describe('clicks', () => {
    test('a click downloads the plain address, with its name, and the page never sees it', async () => {
        const { page, errors } = await openPage('/links.html');
        for (const [id, , name] of testLinks()) {
            await page.click(`#${id}`);
            const file = join(downloads, name);
            await waitFor(
                () => existsSync(file) && !existsSync(`${file}.crdownload`),
                () => `${id}: ${name}; the folder holds ${readdirSync(downloads)}`,
            );
            assert.match(readFileSync(file, 'latin1'), /^Vantrel test file \/files\//, id);
        }
        assert.equal(await page.evaluate(() => window.pageHandlerRuns), 0);
        assert.equal(page.url(), `${origin}/links.html`);
        // The GBK name came from the bytes of code page 936, served as such.
        assert.deepEqual(readFileSync(join(downloads, '下载.rar')), gbkFileContent);
        // A click by the page's own script is the page's business.
        const files = readdirSync(downloads).length;
        await page.evaluate(() => document.getElementById('flashget-fg').click());
        assert.equal(await page.evaluate(() => window.pageHandlerRuns), 2);
        await new Promise((resolve) => setTimeout(resolve, 500));
        assert.equal(readdirSync(downloads).length, files);
        // Ordinary links stay the page's.
        await page.click('#plain-http');
        await waitFor(
            () => page.evaluate(() => window.pageHandlerRuns > 2).catch(() => true),
            'the page handler',
        );
        assert.deepEqual(errors, []);
        await page.close();
    });
});

describe('options', () => {
    test("with click interception off, a click is the page's again", async () => {
        const options = await openOptions();
        await options.click('[name=interceptClicks]');
        await options.click('button[type=submit]');
        await waitFor(async () => (await statusOf(options)) === say('saved'), 'the settings saved');
        await options.close();

        const { page } = await openPage('/links.html');
        const files = readdirSync(downloads).length;
        await page.click('#flashget-fg');
        assert.equal(await page.evaluate(() => window.pageHandlerRuns), 2);
        assert.equal(page.url(), `${origin}/links.html#`);
        await new Promise((resolve) => setTimeout(resolve, 500));
        assert.equal(readdirSync(downloads).length, files);
        await worker.evaluate(() => chrome.storage.local.clear());
        await page.close();
    });
});

// The tab of a page, as the service worker sees it.
function tabOf(page) {
    return worker.evaluate(async (url) => (await chrome.tabs.query({ url }))[0], page.url());
}

describe('file names for downloads', () => {
    test('stay one plain segment that browsers and aria2 accept', async () => {
        const cases = [
            ['中文名.zip', '中文名.zip'],
            ['a/b\\c', 'a_b_c'],
            ['..', ''],
            [' .hidden. ', 'hidden'],
            ['con:x?*<>|".txt', 'con_x______.txt'],
            ['tab\there\u0000\u007f', 'tab_here__'],
            ['x'.repeat(300), 'x'.repeat(200)],
            ['', ''],
        ];
        const page = await openOptions();
        const names = await page.evaluate(
            async (names) => {
                const { safeFileName } = await import('./links.js');
                return names.map(safeFileName);
            },
            cases.map(([name]) => name),
        );
        assert.deepEqual(
            names,
            cases.map(([, expected]) => expected),
        );
        await page.close();
    });
});

describe('context menu', () => {
    test('the entries are shown for links of the four kinds and selections of one, not for others', async () => {
        const { page, errors } = await openPage('/links.html');
        await worker.evaluate(() => {
            globalThis.menuUpdates = [];
            const update = chrome.contextMenus.update;
            chrome.contextMenus.update = (id, properties) => {
                menuUpdates.push([id, properties.visible]);
                return update.call(chrome.contextMenus, id, properties);
            };
        });
        const visibleAfter = async (rightClick) => {
            await worker.evaluate(() => {
                menuUpdates.length = 0;
            });
            await rightClick();
            const updates = await waitFor(async () => {
                const u = await worker.evaluate(() => menuUpdates);
                return u.length === 2 && u;
            }, 'two menu updates');
            assert.deepEqual(updates.map(([id]) => id).sort(), ['copy', 'download']);
            assert.equal(updates[0][1], updates[1][1]);
            return updates[0][1];
        };
        assert.equal(
            await visibleAfter(() => page.click('#gbk-flashget', { button: 'right' })),
            true,
        );
        assert.equal(
            await visibleAfter(() => page.click('#plain-http', { button: 'right' })),
            false,
        );
        assert.equal(
            await visibleAfter(() => page.click('#qqdl-in-qhref', { button: 'right' })),
            true,
        );
        assert.equal(await visibleAfter(() => page.click('h1', { button: 'right' })), false);
        await page.evaluate(() =>
            getSelection().selectAllChildren(document.getElementById('selectable')),
        );
        assert.equal(
            await visibleAfter(() => page.click('#selectable', { button: 'right' })),
            true,
        );
        assert.deepEqual(errors, []);
        await page.close();
    });

    test('"download" hands the link under the pointer to the browser, with its name', async () => {
        const { page } = await openPage('/links.html');
        const tab = await tabOf(page);
        // The browser's own idea of the link is the http href; the content script saw qhref.
        await page.click('#qqdl-in-qhref', { button: 'right' });
        const result = await waitFor(
            () =>
                worker
                    .evaluate(
                        (tab) =>
                            vantrel.menuClicked(
                                {
                                    menuItemId: 'download',
                                    linkUrl: 'http://example.invalid/',
                                    frameId: 0,
                                },
                                tab,
                            ),
                        tab,
                    )
                    .then((r) => r.ok && r),
            'the menu command',
        );
        assert.equal(result.address, `${origin}/files/plain.txt`);
        const file = join(downloads, 'plain (1).txt');
        await waitFor(() => existsSync(file) && !existsSync(`${file}.crdownload`), file);
        // A selection works the same way; other links do nothing.
        const selected = await worker.evaluate(
            (tab, text) =>
                vantrel.menuClicked(
                    { menuItemId: 'download', selectionText: ` ${text} `, frameId: 0 },
                    tab,
                ),
            { ...tab, id: -1 },
            await page.$eval('#selectable', (p) => p.textContent),
        );
        assert.equal(selected.name, 'selected.txt');
        assert.deepEqual(
            await worker.evaluate(
                (tab) =>
                    vantrel.menuClicked(
                        {
                            menuItemId: 'download',
                            linkUrl: 'https://example.invalid/x.zip',
                            frameId: 0,
                        },
                        { ...tab, id: -1 },
                    ),
                tab,
            ),
            { ok: false },
        );
        await page.close();
    });

    test('"copy" puts the display text onto the clipboard', async () => {
        const { page } = await openPage('/links.html');
        await browser
            .defaultBrowserContext()
            .overridePermissions(origin, ['clipboard-read', 'clipboard-write']);
        const tab = await tabOf(page);
        const link = await page.$eval('#gbk-flashget', (a) => a.getAttribute('href'));
        const result = await worker.evaluate(
            (tab, link) =>
                vantrel.menuClicked(
                    { menuItemId: 'copy', linkUrl: link, frameId: 0 },
                    { ...tab, id: tab.id },
                ),
            tab,
            link,
        );
        assert.equal(result.display, `${origin}/files/下载.rar`);
        assert.equal(await page.evaluate(() => navigator.clipboard.readText()), result.display);
        await page.close();
    });
});

// Opens the toolbar pop-up over `page` and returns its page.
async function openPopup(page) {
    await page.bringToFront();
    await worker.evaluate(() => chrome.action.openPopup());
    const target = await browser.waitForTarget((t) => t.url().endsWith('/popup.html'));
    return target.asPage();
}

describe('pop-up', () => {
    test('lists every link of the four kinds with its plain address, in the browser language', async () => {
        const { page } = await openPage('/links.html');
        const popup = await openPopup(page);
        await popup.waitForSelector('#links li');
        const rows = await popup.$$eval('#links li', (items) =>
            items.map((item) => item.querySelector('.address').textContent),
        );
        const expected = testLinks().map(([, , name]) => name);
        assert.equal(rows.length, expected.length); // not the http link, not the paragraph
        for (const name of expected)
            assert.ok(rows.includes(`${origin}/files/${name}`), `${name} in ${rows}`);
        assert.equal(await popup.$eval('h1', (h) => h.textContent), say('popupTitle'));
        // "Copy all": one display text a line.
        const popupOrigin = `chrome-extension://${new URL(popup.url()).host}`;
        await browser
            .defaultBrowserContext()
            .overridePermissions(popupOrigin, ['clipboard-read', 'clipboard-write']);
        await popup.click('#copy-all');
        await popup.waitForFunction(() => document.getElementById('status').textContent !== '');
        const copied = (await popup.evaluate(() => navigator.clipboard.readText())).split('\n');
        assert.deepEqual(
            copied,
            expected.map((name) => `${origin}/files/${name}`),
        );

        if (process.env.VANTREL_SCREENSHOT) {
            const picture = await popup.screenshot({ encoding: 'base64', fullPage: true });
            await page.setViewport({ width: 900, height: 380 });
            await page.evaluate((picture) => {
                const img = Object.assign(document.createElement('img'), {
                    src: `data:image/png;base64,${picture}`,
                });
                img.style.cssText =
                    'position:fixed;top:0;right:16px;box-shadow:0 4px 18px #0006;border:1px solid #999';
                document.body.append(img);
                return img.decode();
            }, picture);
            await page.screenshot({ path: process.env.VANTREL_SCREENSHOT });
        }
        await popup.close();
        await page.close();
    });

    test('"download all" downloads every link that converts', async () => {
        const { page } = await openPage('/links.html');
        const popup = await openPopup(page);
        await popup.waitForSelector('#links li');
        const before = readdirSync(downloads).length;
        await popup.click('#download-all');
        await waitFor(
            () =>
                readdirSync(downloads).filter((f) => !f.endsWith('.crdownload')).length ===
                before + testLinks().length,
            'every download',
        );
        await popup.close();
        await page.close();
    });
});

describe('aria2', () => {
    let aria2;
    let rpc;
    const aria2Dir = join(work, 'aria2');
    const secret = 'vantrel-test-secret';
    const aria2Version = /aria2 version (\S+)/.exec(execFileSync('aria2c', ['--version']))[1];

    before(async () => {
        mkdirSync(aria2Dir, { recursive: true });
        const port = await freePort();
        rpc = `http://127.0.0.1:${port}/jsonrpc`;
        aria2 = spawn(
            'aria2c',
            [
                '--enable-rpc',
                `--rpc-listen-port=${port}`,
                `--rpc-secret=${secret}`,
                `--dir=${aria2Dir}`,
                '--no-conf',
                '--quiet',
                '--disable-ipv6',
                '--check-certificate=false',
                '--auto-file-renaming=false',
            ],
            { stdio: 'ignore' },
        );
        await waitFor(
            () =>
                fetch(rpc, { method: 'POST', body: '{}' }).then(
                    () => true,
                    () => false,
                ),
            'aria2 to listen',
        );
    });

    after(async () => {
        aria2?.kill();
        await worker.evaluate(() => chrome.storage.local.clear());
    });

    async function fillOptions(page, url, token) {
        await page.click('input[name=target][value=aria2]');
        await page.$eval(
            '[name=aria2Url]',
            (input, url) => {
                input.value = url;
            },
            url,
        );
        await page.$eval(
            '[name=aria2Secret]',
            (input, token) => {
                input.value = token;
            },
            token,
        );
    }

    test('"test connection" reports aria2\'s version, and a refusal with a wrong secret', async () => {
        const page = await openOptions();
        await fillOptions(page, rpc, 'wrong');
        await page.click('#test');
        await waitFor(async () => (await statusOf(page)) !== '…', 'the failure');
        assert.equal(await statusOf(page), say('connectionFailed', 'Unauthorized'));
        await fillOptions(page, rpc, secret);
        await page.click('#test');
        await waitFor(async () => (await statusOf(page)) !== '…', 'the version');
        assert.equal(await statusOf(page), say('connectionOk', aria2Version));
        await fillOptions(page, 'ftp://127.0.0.1/', secret);
        await page.click('#test');
        await waitFor(async () => (await statusOf(page)) !== '…', 'the refusal');
        assert.equal(await statusOf(page), say('connectionFailed', say('badEndpoint')));
        await page.close();
    });

    test('with aria2 chosen, a click hands the link to aria2, which downloads it under its name', async () => {
        const options = await openOptions();
        await fillOptions(options, rpc, secret);
        await options.click('button[type=submit]');
        await waitFor(async () => (await statusOf(options)) === say('saved'), 'the settings saved');
        await options.close();

        const { page, errors } = await openPage('/links.html');
        const before = readdirSync(downloads).length;
        for (const id of ['utf8-thunder', 'gbk-flashget']) await page.click(`#${id}`);
        for (const name of ['中文名.zip', '下载.rar']) {
            const file = join(aria2Dir, name);
            await waitFor(
                () => existsSync(file) && !existsSync(`${file}.aria2`),
                () => `${name}; aria2's folder holds ${readdirSync(aria2Dir)}`,
            );
            assert.match(readFileSync(file, 'latin1'), /^Vantrel test file \/files\//);
        }
        assert.deepEqual(readFileSync(join(aria2Dir, '下载.rar')), gbkFileContent);
        assert.equal(readdirSync(downloads).length, before); // the browser downloaded nothing
        assert.deepEqual(errors, []);
        await page.close();
    });
});

describe('hostile pages', () => {
    // How long the page takes to answer a script while the extension works on it.
    async function answerTime(page) {
        const start = performance.now();
        await page.evaluate(() => 1);
        return performance.now() - start;
    }

    test('10,000 links: the page stays responsive, the pop-up lists them all', async () => {
        const { page, errors } = await openPage('/many.html');
        await page.click('#m4', { button: 'right' });
        await page.click('#m5000');
        assert.ok((await answerTime(page)) < 1000);
        await waitFor(() => existsSync(join(downloads, 'many-5000.txt')), 'many-5000.txt');
        const popup = await openPopup(page);
        await popup.waitForSelector('#links li', { timeout: 30000 });
        // Broken Base64 still decodes (to nonsense): the core never refuses a body.
        assert.equal(await popup.$$eval('#links li', (items) => items.length), 10000);
        assert.ok((await answerTime(page)) < 1000);
        assert.deepEqual(errors, []);
        assert.equal(await page.evaluate(() => window.errors), 0);
        await popup.close();
        await page.close();
    });

    test('megabyte links and broken Base64: nothing throws unhandled, the page stays responsive', async () => {
        const { page, errors } = await openPage('/huge.html');
        workerErrors = [];
        for (const id of ['huge1', 'huge3', 'broken1', 'broken2', 'broken3', 'broken4']) {
            await page.click(`#${id}`, { button: 'right' });
            await page.click(`#${id}`);
            assert.ok((await answerTime(page)) < 1000, id);
        }
        const popup = await openPopup(page);
        await popup.waitForSelector('#links li', { timeout: 30000 });
        assert.equal(await popup.$$eval('#links li', (items) => items.length), 6);
        assert.equal(page.url(), `${origin}/huge.html`);
        // A failed hand-off shows on the toolbar button; the worker threw nothing unhandled.
        await waitFor(
            () => worker.evaluate(() => chrome.action.getBadgeText({})).then((t) => t === '!'),
            'the failure badge',
        );
        assert.deepEqual(workerErrors, []);
        assert.deepEqual(errors, []);
        await popup.close();
        await page.close();
    });
});
