// Load check of the browser shell without a browser: 20 sessions drive the HTTP interface at once on one
// database, each a mass duplication of its own (its own prefix over the same selection). Every session
// must be answered and every article written: nothing lost, nothing doubled.
import assert from 'node:assert/strict';
import { ApiClient, demoDatabase, startServer, query } from './harness.mjs';

const SESSIONS = 20;
const data = demoDatabase();
const server = await startServer(data);
const latencies = [];

class Client extends ApiClient {
  constructor(n) { super(server); this.n = n; this.done = 0; }
  // Sends the action and waits until the form has done it, answering its questions on the way:
  // Yes to a question, OK to a notice; an error box fails the session.
  async act(action) {
    const start = performance.now();
    const target = this.done + 1;
    await this.post('/api/action', { form: 'FRMFA_AGGANCI', ...action });
    for (;;) {
      const s = await this.next();
      if (s.dialog) {
        assert.notEqual(s.dialog.kind, 'error', `session ${this.n}: ${s.dialog.text}`);
        await this.post('/api/answer', { id: s.dialog.id, code: (s.dialog.style & 7) === 4 || (s.dialog.style & 7) === 3 ? 6 : 1 });
        continue;
      }
      if (s.done >= target && !s.busy) break;
    }
    this.done = target;
    latencies.push(performance.now() - start);
    assert.equal(this.state.notice, '', `session ${this.n}: ${this.state.notice}`);
  }
  control(name) {
    return this.state.forms[0].controls.find((c) => c.name === name);
  }
  async run() {
    await this.open();
    const prefix = `L${String(this.n).padStart(2, '0')}`;
    await this.act({ do: 'select', control: 'SIDEBAR_MAIN', group: 'GRP01', key: 'ITM0102' });
    await this.act({ do: 'condition', control: 'ADVQ_ARTICOLI', field: 'Articolo', op: 'starts', values: ['CAM'] });
    await this.act({ do: 'click', control: 'CMD_AVANTI' });
    await this.act({ do: 'choose', control: 'CBO_PREFISSO', caption: 'Aggiungi prefisso' });
    await this.act({ do: 'type', control: 'TXT_PREFISSODART', text: prefix });
    await this.act({ do: 'click', control: 'CMD_DUPLMASS' });
    assert.ok(this.control('CMD_LOGDUPL').visible, `session ${this.n}: the run ended with its log`);
    await this.post('/api/release', {});
    return prefix;
  }
}

try {
  const sources = query(data.db, 'SELECT MG66_CODART FROM MG66_ANAGRART').map((r) => r[0].trim()).filter((c) => c.startsWith('CAM'));
  const started = performance.now();
  const prefixes = await Promise.all(Array.from({ length: SESSIONS }, (_, i) => new Client(i + 1).run()));
  const seconds = (performance.now() - started) / 1000;
  const codes = query(data.db, 'SELECT MG66_CODART FROM MG66_ANAGRART').map((r) => r[0].trim());
  const expected = prefixes.flatMap((p) => sources.map((s) => p + s));
  const missing = expected.filter((c) => !codes.includes(c));
  assert.deepEqual(missing, [], 'every article of every session is in the database');
  assert.equal(new Set(codes).size, codes.length, 'no code written twice');
  latencies.sort((a, b) => a - b);
  const pct = (p) => latencies[Math.min(latencies.length - 1, Math.floor(p * latencies.length))].toFixed(0);
  console.log(`load: ${SESSIONS} sessions, ${expected.length} articles created in ${seconds.toFixed(1)} s; `
    + `${latencies.length} actions, latency p50 ${pct(0.5)} ms, p95 ${pct(0.95)} ms, max ${pct(1)} ms`);
} finally {
  await server.stop();
}
// Idle keep-alive connections would hold the process open for a while.
process.exit(0);
