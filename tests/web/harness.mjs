// What the browser tests share: a demo database, the server started on a free port, Debian's Chromium
// (never a downloaded one), and reads of the database as the ERP would check it.
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

// A path is made absolute: the program runs from a temporary folder.
const given = process.argv[2] || process.env.AGGANCI_BIN;
if (!given) throw new Error('usage: node <test>.mjs path/to/agganci');
export const bin = given.includes('/') ? path.resolve(given) : given;

export function demoDatabase() {
  const dir = mkdtempSync(path.join(tmpdir(), 'agganci-web-'));
  const db = path.join(dir, 'demo.db');
  execFileSync(bin, ['demo-db', db], { cwd: dir, stdio: 'ignore' });
  return { dir, db };
}

// Starts `agganci serve` and resolves once it printed its address. Stopping it twice is stopping it once.
// `env`: variables of its own (TMPDIR, say), beside this process's.
export function startServer({ dir, db }, extra = [], env = {}) {
  const proc = spawn(bin, ['--db', `sqlite:${db}`, 'serve', '--port', '0', ...extra],
    { cwd: dir, env: { ...process.env, ...env } });
  const output = [];
  return new Promise((resolve, reject) => {
    let buffer = '';
    proc.stdout.on('data', (chunk) => {
      buffer += chunk;
      const lines = buffer.split('\n');
      buffer = lines.pop();
      for (const line of lines) {
        output.push(line);
        const m = line.match(/(http:\/\/127\.0\.0\.1:(\d+)\/\?token=(\w+))/);
        if (m) resolve({ proc, output, url: m[1], base: `http://127.0.0.1:${m[2]}`, token: m[3],
          stop: () => new Promise((r) => {
            if (proc.exitCode !== null || proc.signalCode !== null) { r(); return; }
            proc.once('exit', r);
            proc.kill('SIGTERM');
          }) });
      }
    });
    proc.stderr.on('data', (chunk) => process.stderr.write(chunk));
    proc.once('exit', (code) => reject(new Error(`agganci serve exited with ${code}`)));
    setTimeout(() => reject(new Error('agganci serve did not start')), 20000);
  });
}

// A browser context on a fresh profile (Playwright passes it to Chromium as --user-data-dir).
export async function launchBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), 'agganci-chromium-'));
  return chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    acceptDownloads: true,
    viewport: { width: 1280, height: 900 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// Rows of a query on the demo database, each an array of texts (waiting while a form writes).
export function query(db, sql) {
  const out = execFileSync('sqlite3', ['-cmd', '.timeout 10000', '-separator', '\t', db, sql], { encoding: 'utf8' });
  return out.split('\n').filter(Boolean).map((l) => l.split('\t'));
}

// The screenshots of each form: into the folder AGGANCI_SCREENSHOTS names (docs/screenshots to refresh the
// committed ones), otherwise a temporary one, so that a test run leaves the working tree as it was.
export const screenshots = process.env.AGGANCI_SCREENSHOTS
  ? path.resolve(process.env.AGGANCI_SCREENSHOTS) : mkdtempSync(path.join(tmpdir(), 'agganci-screenshots-'));
mkdirSync(screenshots, { recursive: true });

// The session API as the page drives it, without a browser: one client, one form.
export class ApiClient {
  constructor(server) { this.server = server; this.v = 0; this.state = null; }
  url(path, extra = {}) {
    const params = { token: this.server.token, ...(this.sid ? { sid: this.sid } : {}), ...extra };
    return `${this.server.base}${path}?${new URLSearchParams(params)}`;
  }
  // The reply as it comes; a body makes it a POST (a string is sent as it is).
  request(path, body) {
    if (body === undefined) return fetch(this.url(path));
    return fetch(this.url(path), { method: 'POST', body: typeof body === 'string' ? body : JSON.stringify(body) });
  }
  async post(path, body) {
    const res = await this.request(path, body);
    assert.ok(res.ok, `${path}: ${res.status}`);
    return res.json();
  }
  // The next snapshot (the server holds the request until there is one, or the long poll ends).
  async next() {
    const res = await fetch(this.url('/api/state', { since: this.v }));
    assert.ok(res.ok, `state: ${res.status}`);
    this.state = await res.json();
    this.v = this.state.v;
    return this.state;
  }
  // Snapshots until one passes `test`; a form that ended before fails.
  async until(test) {
    for (;;) {
      if (test(await this.next())) return this.state;
      if (this.state.ended) throw new Error(`the form ended: ${this.state.notice}`);
    }
  }
  // Opens a form of its own; resolves once the form is shown.
  async open() {
    this.sid = (await this.post('/api/sessions', {})).sid;
    await this.until((s) => s.forms.length);
    return this;
  }
}
