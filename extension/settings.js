// The user's settings (the options page writes them), kept in the browser's local storage:
// the aria2 secret stays on this machine.
import { api } from './browser.js';

export const kDefaults = Object.freeze({
    interceptClicks: true, // a click on such a link downloads its plain address
    target: 'browser', // where downloads go: 'browser' or 'aria2'
    aria2Url: 'http://127.0.0.1:6800/jsonrpc',
    aria2Secret: '',
});

export async function loadSettings() {
    return { ...kDefaults, ...(await api.storage.local.get(Object.keys(kDefaults))) };
}

export function saveSettings(settings) {
    return api.storage.local.set(settings);
}
