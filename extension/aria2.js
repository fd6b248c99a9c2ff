// aria2's JSON-RPC interface (https://aria2.github.io/manual/en/html/aria2c.html#rpc-interface),
// over HTTP POST to the endpoint the user set.
const kTimeoutMs = 10000;

// The endpoint as a URL when it is an http: or https: address, otherwise null.
export function endpointUrl(text) {
    try {
        const url = new URL(text);
        return url.protocol === 'http:' || url.protocol === 'https:' ? url : null;
    } catch {
        return null;
    }
}

async function call({ aria2Url, aria2Secret }, method, params = []) {
    const url = endpointUrl(aria2Url);
    if (!url) throw new Error(`not an http(s) address: ${aria2Url}`);
    const request = {
        jsonrpc: '2.0',
        id: 'vantrel',
        method,
        params: aria2Secret ? [`token:${aria2Secret}`, ...params] : params,
    };
    const response = await fetch(url, {
        method: 'POST',
        headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify(request),
        signal: AbortSignal.timeout(kTimeoutMs),
    });
    const reply = await response.json().catch(() => null);
    if (reply?.error) throw new Error(reply.error.message ?? 'aria2 error');
    if (!response.ok || !reply || !('result' in reply)) throw new Error(`HTTP ${response.status}`);
    return reply.result;
}

// Hands one address to aria2, saved under `name` when it has one; returns aria2's GID.
export function addUri(settings, address, name) {
    return call(settings, 'aria2.addUri', [[address], name ? { out: name } : {}]);
}

// aria2's version: the connection test.
export async function aria2Version(settings) {
    return (await call(settings, 'aria2.getVersion')).version;
}
