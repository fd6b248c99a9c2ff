// The WebExtensions namespace: `browser` in Firefox, `chrome` in Chromium browsers. Both
// return promises in Manifest V3.
export const api = globalThis.browser ?? globalThis.chrome;

// A message of the user's language (_locales), with its substitutions.
export const message = (name, ...substitutions) => api.i18n.getMessage(name, substitutions);
