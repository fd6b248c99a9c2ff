// The local web server of the end-to-end tests (127.0.0.1 only): pages from `pages`, and
// under /files/ any file name, whose content names the bytes of its path.
import { createServer } from 'node:http';

// The path's bytes, percent-decoded (names may be UTF-8 or GBK).
function pathBytes(url) {
    const path = url.split(/[?#]/)[0];
    const bytes = [];
    for (let i = 0; i < path.length; ++i) {
        if (path[i] === '%' && /^[0-9A-Fa-f]{2}$/.test(path.slice(i + 1, i + 3))) {
            bytes.push(parseInt(path.slice(i + 1, i + 3), 16));
            i += 2;
        } else {
            bytes.push(path.charCodeAt(i) & 0xff);
        }
    }
    return Buffer.from(bytes);
}

// The content served for a file path: the same on every request, different for every path.
export function fileContent(path) {
    return Buffer.concat([Buffer.from('Vantrel test file '), path]);
}

export async function startServer(pages) {
    const server = createServer((request, response) => {
        const path = pathBytes(request.url);
        if (path.subarray(0, 7).toString() === '/files/') {
            response.writeHead(200, { 'Content-Type': 'application/octet-stream' });
            response.end(fileContent(path));
            return;
        }
        const page = pages[path.toString()];
        if (page === undefined) {
            response.writeHead(404).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
        response.end(typeof page === 'function' ? page() : page);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return { server, origin: `http://127.0.0.1:${server.address().port}` };
}
