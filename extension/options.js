// The options page: click interception, and where downloads go (the browser, or aria2 by
// JSON-RPC, with a connection test).
import { aria2Version, endpointUrl } from './aria2.js';
import { api, message } from './browser.js';
import { localize } from './i18n.js';
import { loadSettings, saveSettings } from './settings.js';

const form = document.getElementById('options');
const status = (text) => {
    document.getElementById('status').textContent = text;
};

function readForm() {
    return {
        interceptClicks: form.interceptClicks.checked,
        target: form.target.value,
        aria2Url: form.aria2Url.value.trim(),
        aria2Secret: form.aria2Secret.value,
    };
}

// The extension reaches an aria2 endpoint only by the user's leave: the request has to run
// in the click's own task, before anything is awaited. Local endpoints are granted at install.
function requestAccess(settings) {
    const url = endpointUrl(settings.aria2Url);
    if (!url) return Promise.reject(new Error(message('badEndpoint')));
    return api.permissions.request({ origins: [`${url.origin}/*`] }).then((granted) => {
        if (!granted) throw new Error(message('permissionDenied', url.origin));
    });
}

async function save(event) {
    event.preventDefault();
    const settings = readForm();
    try {
        if (settings.target === 'aria2') await requestAccess(settings);
        await saveSettings(settings);
        status(message('saved'));
    } catch (error) {
        status(error.message);
    }
}

async function testConnection() {
    const settings = readForm();
    status('…');
    try {
        await requestAccess(settings);
        status(message('connectionOk', await aria2Version(settings)));
    } catch (error) {
        status(message('connectionFailed', error.message));
    }
}

async function main() {
    localize(document);
    const settings = await loadSettings();
    form.interceptClicks.checked = settings.interceptClicks;
    form.target.value = settings.target;
    form.aria2Url.value = settings.aria2Url;
    form.aria2Secret.value = settings.aria2Secret;
    form.addEventListener('submit', save);
    document.getElementById('test').addEventListener('click', testConnection);
}

main();
