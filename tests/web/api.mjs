// The session API of agganci serve without a browser: a question nobody answers never goes ahead, wrong
// requests are refused and leave the form as it was, a waiting page keeps its form, and a second server on
// the same port does not start.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { ApiClient, bin, demoDatabase, startServer, query } from './harness.mjs';

const data = demoDatabase();
const server = await startServer(data);
const step = (name) => console.log(`- ${name}`);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Counted here, not in SQL: the table's indexes use the ERP's collation, unknown to the sqlite3 tool.
const articles = () => query(data.db, 'SELECT MG66_CODART FROM MG66_ANAGRART').length;
const FORM = 'FRMFA_AGGANCI';

// A new form of MODELLO04 with the generation's question open (no variant management is configured).
async function openQuestion() {
  const c = await new ApiClient(server).open();
  await c.post('/api/action', { form: FORM, do: 'type', control: 'TXT_MODORIGINE', text: 'MODELLO04' });
  await c.post('/api/action', { form: FORM, do: 'click', control: 'CMD_DUPLICA' });
  assert.match((await c.until((s) => s.dialog)).dialog.text, /Procedere Ugualmente/);
  return c;
}

try {
  const before = articles();

  step('a question open when its form is released is answered No: nothing is written');
  const asked = await openQuestion();
  await asked.post('/api/release', {});
  await asked.until((s) => s.ended);
  const unloaded = `Session ${asked.sid}: FRMFA_AGGANCI unloaded`;
  for (let i = 0; i < 50 && !server.output.includes(unloaded); ++i) await sleep(100);
  assert.ok(server.output.includes(unloaded), 'the form was unloaded');
  assert.equal(articles(), before, 'no article was generated');

  step('a form released with an edit nobody saved is unloaded all the same, and the edit goes');
  const editing = await new ApiClient(server).open();
  await editing.post('/api/action', { form: FORM, do: 'type', control: 'TXT_MODORIGINE', text: 'MODELLO04' });
  await editing.post('/api/action', { form: FORM, do: 'type', control: 'TXT_DESCARTDAGENERARE', text: 'DROPPED' });
  await editing.until((s) => s.done >= 2 && !s.busy);
  await editing.post('/api/release', {});
  await editing.until((s) => s.ended);
  const editingUnloaded = `Session ${editing.sid}: FRMFA_AGGANCI unloaded`;
  for (let i = 0; i < 50 && !server.output.includes(editingUnloaded); ++i) await sleep(100);
  assert.ok(server.output.includes(editingUnloaded), 'the form with an edit was unloaded');
  assert.ok(!query(data.db, 'SELECT FA64_DESCRIZIONE FROM FA64_AGGANCIDET').some((r) => r[0].trim() === 'DROPPED'));

  step('actions and answers of the wrong type are refused, and the form goes on');
  const c = await new ApiClient(server).open();
  for (const wrong of [{ do: 5 }, { do: null }, { do: 'click', control: 5 }, { do: 'dismiss', panel: 5 }]) {
    assert.equal((await c.request('/api/action', { form: FORM, ...wrong })).status, 400, JSON.stringify(wrong));
  }
  assert.equal((await c.request('/api/answer', { id: 0, code: 1 })).status, 409, 'no question is waiting');
  for (const wrong of [{ id: '1', code: 1 }, { id: 1, code: 'x' }, { id: null, code: 1 }, { code: 1 }]) {
    assert.equal((await c.request('/api/answer', wrong)).status, 400, JSON.stringify(wrong));
  }
  await c.post('/api/action', { form: FORM, do: 'type', control: 'TXT_MODORIGINE', text: 'MODELLO04' });
  const after = await c.until((s) => s.done >= 1 && !s.busy);
  assert.ok(!after.ended && after.forms.length === 1 && after.notice === '', 'the form is still open');

  step('an edit not saved turns the generate button off: a click on it is refused and runs nothing');
  await c.post('/api/action', { form: FORM, do: 'type', control: 'TXT_DESCARTDAGENERARE', text: 'UNSAVED DESC' });
  const edited = await c.until((s) => s.done >= 2 && !s.busy);
  assert.equal(edited.forms[0].controls.find((x) => x.name === 'CMD_DUPLICA').enabled, false);
  await c.post('/api/action', { form: FORM, do: 'click', control: 'CMD_DUPLICA' });
  assert.match((await c.until((s) => s.done >= 3 && !s.busy)).notice, /CMD_DUPLICA cannot be reached/);
  assert.equal(articles(), before, 'no article was generated');

  step('the icon needs no token; an unknown form and an oversized body are refused as such');
  assert.equal((await fetch(`${server.base}/favicon.ico`)).status, 204);
  const stranger = Object.assign(new ApiClient(server), { sid: 'nosuchform' });
  for (const path of ['/api/release', '/api/leave']) {
    const res = await stranger.request(path, {});
    assert.deepEqual([res.status, await res.json()], [404, { error: 'no such session' }], path);
  }
  assert.equal((await c.request('/api/action', 'x'.repeat(2 << 20))).status, 413);

  step('a page waiting for news keeps its form past the idle limit; one that stopped asking loses it');
  const quick = await startServer(data, ['--idle-seconds', '2']);
  try {
    const waiter = await new ApiClient(quick).open();
    const poll = waiter.next();
    assert.equal(await Promise.race([poll.then(() => 'answered'), sleep(4000).then(() => 'waiting')]), 'waiting');
    await waiter.post('/api/action', { form: FORM, do: 'type', control: 'TXT_MODORIGINE', text: 'MODELLO02' });
    assert.ok(!(await poll).ended, 'the form is still open');
    await sleep(3500);
    assert.ok((await waiter.next()).ended, 'a form nobody asked about for the idle limit is released');
  } finally {
    await quick.stop();
  }

  step('a second server on a port in use does not start');
  const port = new URL(server.base).port;
  const second = spawnSync(bin, ['--db', `sqlite:${data.db}`, 'serve', '--port', port],
    { cwd: data.dir, encoding: 'utf8', timeout: 10000 });
  assert.doesNotMatch(second.stdout, /Serving the forms/);
  assert.match(second.stderr, new RegExp(`cannot listen on 127\\.0\\.0\\.1:${port}`));
  assert.equal(second.status, 1);

  step('a question open when the server stops is answered No as well');
  const atStop = articles();
  await openQuestion();
  await server.stop();
  assert.equal(articles(), atStop, 'no article was generated');
  console.log('api: passed');
} finally {
  await server.stop();
}
// Idle keep-alive connections would hold the process open for a while.
process.exit(0);
