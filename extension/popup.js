// The toolbar pop-up: every link of the four kinds on the current page with its plain
// address; copy one, copy all, download all.
import { api, message } from './browser.js';
import { localize } from './i18n.js';
import { converterReady, convertLink } from './links.js';

const kShownLength = 300; // an address or link is shown up to this many characters

const clip = (text) => (text.length > kShownLength ? `${text.slice(0, kShownLength)}…` : text);
const status = (text) => {
    document.getElementById('status').textContent = text;
};

async function pageLinks() {
    const [tab] = await api.tabs.query({ active: true, currentWindow: true });
    try {
        return await api.tabs.sendMessage(tab.id, { type: 'links' }, { frameId: 0 });
    } catch {
        return null; // no content script there (a browser page, a store page)
    }
}

async function copy(text) {
    try {
        await navigator.clipboard.writeText(text);
        status(message('copied'));
    } catch (error) {
        status(error.message); // the pop-up lost the focus
    }
}

function showRows(rows) {
    const list = document.getElementById('links');
    const template = document.getElementById('row').content;
    const items = document.createDocumentFragment();
    for (const { link, result } of rows) {
        const item = template.firstElementChild.cloneNode(true);
        const address = result.ok ? result.display : message('formatError');
        item.querySelector('.address').textContent = clip(address);
        item.querySelector('.address').title = clip(address);
        item.querySelector('.link').textContent = clip(link);
        item.querySelector('.copy').textContent = message('copy');
        if (result.ok) item.querySelector('.copy').addEventListener('click', () => copy(address));
        else {
            item.classList.add('broken');
            item.querySelector('.copy').disabled = true;
        }
        items.append(item);
    }
    list.append(items);
}

async function main() {
    localize(document);
    const links = await pageLinks();
    if (links === null) return status(message('popupUnavailable'));
    if (links.length === 0) return status(message('popupNone'));

    const core = await converterReady();
    const rows = links.map((link) => ({ link, result: convertLink(core, link) }));
    showRows(rows);

    const good = rows.filter(({ result }) => result.ok);
    const copyAll = document.getElementById('copy-all');
    const downloadAll = document.getElementById('download-all');
    copyAll.disabled = downloadAll.disabled = good.length === 0;
    copyAll.addEventListener('click', () =>
        copy(good.map(({ result }) => result.display).join('\n')),
    );
    downloadAll.addEventListener('click', async () => {
        downloadAll.disabled = true;
        await api.runtime.sendMessage({ type: 'download', links: good.map(({ link }) => link) });
        status(message('downloadStarted'));
    });
}

main();
