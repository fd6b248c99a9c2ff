// Puts the user's language into a page: every element with data-i18n="NAME" shows that
// message from _locales.
import { api, message } from './browser.js';

export function localize(document) {
    document.documentElement.lang = api.i18n.getUILanguage();
    for (const element of document.querySelectorAll('[data-i18n]')) {
        element.textContent = message(element.dataset.i18n);
    }
}
