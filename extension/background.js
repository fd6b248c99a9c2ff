// The extension's service worker (a background script in Firefox): the context-menu
// commands, the downloads of intercepted clicks and of the pop-up, and the settings the
// content scripts need. Conversions run in the WebAssembly core (links.js).
import { api, message } from './browser.js';
import { handOff } from './handoff.js';
import { converterReady, convertLink, urlSchemes } from './links.js';
import { loadSettings } from './settings.js';

const kMenus = [
    { id: 'download', title: 'menuDownload' },
    { id: 'copy', title: 'menuCopy' },
];

// The link under the last right-click in each tab, as its content script reported it.
const menuLinks = new Map();

// The entries exist for links and selections, shown only while the content script reports
// a link of the four kinds under the pointer (other links get no entry).
async function createMenus() {
    await api.contextMenus.removeAll();
    for (const { id, title } of kMenus) {
        api.contextMenus.create({
            id,
            title: message(title),
            contexts: ['link', 'selection'],
            visible: false,
        });
    }
}

async function showMenus(tabId, link) {
    if (link) menuLinks.set(tabId, link);
    else menuLinks.delete(tabId);
    await Promise.all(kMenus.map(({ id }) => api.contextMenus.update(id, { visible: !!link })));
    await api.contextMenus.refresh?.(); // Firefox redraws a menu that is already open
}

// Failures of a hand-off have no page to show them on: the toolbar button says so.
function reportFailure(error) {
    console.warn('vantrel:', error);
    api.action.setBadgeText({ text: '!' }).catch(() => {});
    api.action
        .setTitle({ title: message('handOffFailed', String(error?.message ?? error)) })
        .catch(() => {});
}

function clearFailure() {
    api.action.setBadgeText({ text: '' }).catch(() => {});
    api.action.setTitle({ title: message('extensionName') }).catch(() => {});
}

// Converts a link and hands its plain address on; { ok: false } for a link of none of the
// four kinds or a damaged one.
async function download(link) {
    const result = convertLink(await converterReady(), link);
    if (!result.ok) return { ok: false };
    await handOff(result, await loadSettings());
    clearFailure();
    return { ok: true, address: result.ascii, name: result.name };
}

// A context-menu command: the link the content script saw under the pointer, else the
// browser's own idea of the link or the selected text, whichever converts first.
async function menuClicked(info, tab) {
    const core = await converterReady();
    const candidates = [menuLinks.get(tab?.id), info.linkUrl, info.selectionText?.trim()];
    for (const link of candidates.filter(Boolean)) {
        const result = convertLink(core, link);
        if (!result.ok) continue;
        if (info.menuItemId === 'download') {
            await handOff(result, await loadSettings());
            clearFailure();
        } else {
            await api.tabs.sendMessage(
                tab.id,
                { type: 'copy', text: result.display },
                { frameId: info.frameId ?? 0 },
            );
        }
        return { ok: true, address: result.ascii, display: result.display, name: result.name };
    }
    return { ok: false };
}

async function downloadAll(links) {
    const outcomes = await Promise.allSettled(links.map(download));
    const failure = outcomes.find((outcome) => outcome.status === 'rejected');
    if (failure) reportFailure(failure.reason);
    return outcomes.map((outcome) => outcome.status === 'fulfilled' && outcome.value.ok);
}

async function answer(request, sender) {
    switch (request?.type) {
        case 'hello':
            return {
                schemes: urlSchemes(await converterReady()),
                intercept: (await loadSettings()).interceptClicks,
            };
        case 'menu':
            if (sender.tab) await showMenus(sender.tab.id, request.link);
            return null;
        case 'click':
            return download(String(request.link)).catch((error) => {
                reportFailure(error);
                return { ok: false };
            });
        case 'download':
            return downloadAll(Array.from(request.links ?? [], String));
        default:
            return null;
    }
}

api.runtime.onInstalled.addListener(() => {
    createMenus().catch(reportFailure);
});
api.contextMenus.onClicked.addListener((info, tab) => {
    menuClicked(info, tab).catch(reportFailure);
});
api.tabs.onRemoved.addListener((tabId) => menuLinks.delete(tabId));
api.runtime.onMessage.addListener((request, sender, sendResponse) => {
    // Only this extension's own pages and content scripts can send messages here.
    answer(request, sender).then(sendResponse, (error) => {
        reportFailure(error);
        sendResponse(null);
    });
    return true;
});

// The worker's console (and the end-to-end tests) can run the menu commands as a click does.
globalThis.vantrel = { menuClicked, download };
