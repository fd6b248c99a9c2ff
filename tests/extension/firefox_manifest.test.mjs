// The extension as Firefox sees it: Mozilla's own linter (addons-linter, the one the add-on
// store runs) finds no error, and warns only that Firefox ignores the Chromium service worker
// key (it runs background.scripts instead). Firefox itself is not run here.
//   VANTREL_EXTENSION_DIR  the unpacked extension
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { test } from 'node:test';

test('addons-linter accepts the extension for Firefox', () => {
    const linter = fileURLToPath(new URL('node_modules/.bin/addons-linter', import.meta.url));
    const run = spawnSync(linter, ['--output', 'json', process.env.VANTREL_EXTENSION_DIR]);
    const report = JSON.parse(run.stdout.toString());
    const found = [...report.errors, ...report.warnings, ...report.notices].map(
        ({ code, message }) => `${code}: ${message}`,
    );
    assert.deepEqual(report.errors, [], found.join('\n'));
    assert.deepEqual(
        report.warnings.map(({ code }) => code),
        ['BACKGROUND_SERVICE_WORKER_IGNORED'],
        found.join('\n'),
    );
});
