// Hands a converted link to the download the user chose: the browser's own, or aria2.
import { addUri } from './aria2.js';
import { api } from './browser.js';
import { safeFileName } from './links.js';

export async function handOff(result, settings) {
    const name = safeFileName(result.name);
    if (settings.target === 'aria2') return addUri(settings, result.ascii, name);
    const options = { url: result.ascii, conflictAction: 'uniquify' };
    if (name) options.filename = name;
    return api.downloads.download(options);
}
