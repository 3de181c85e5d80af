// The session API of agganci serve without a browser: a question nobody answers never goes ahead, wrong
// requests are refused and leave the form as it was, a waiting page keeps its form, a second server on the
// same port does not start, a run's log reaches the page each line once, and a release or Ctrl-C stops a run.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import http from 'node:http';
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

// A mass duplication of all the articles of a company made with `demo-db --articles 2000`, its question
// answered Yes: resolves once the run is at work, on a client that polls as the page does.
async function startMassRun(on, prefix) {
  const c = await new ApiClient(on).open();
  const all = ['BENCH-000001', 'BENCH-002000'];
  for (const action of [{ do: 'select', control: 'SIDEBAR_MAIN', group: 'GRP01', key: 'ITM0102' },
    { do: 'condition', control: 'ADVQ_ARTICOLI', field: 'Articolo', op: 'range', values: all },
    { do: 'click', control: 'CMD_AVANTI' }, { do: 'choose', control: 'CBO_PREFISSO', caption: 'Aggiungi prefisso' },
    { do: 'type', control: 'TXT_PREFISSODART', text: prefix }, { do: 'click', control: 'CMD_DUPLMASS' }]) {
    await c.post('/api/action', { form: FORM, ...action });
  }
  const { dialog } = await c.until((s) => s.dialog);
  await c.post('/api/answer', { id: dialog.id, code: 6 });
  return c;
}

// The next snapshot for a page that holds `held` ({ number, lines }) of the processing log: checks it carries
// only the lines after those, and adds them to `held.text`.
async function nextLog(c, held) {
  const res = await fetch(c.url('/api/state', { since: c.v, log: held.number, lines: held.lines }));
  const s = await res.json();
  c.v = s.v;
  const from = s.logNumber === held.number ? held.lines : 0;
  assert.deepEqual([s.logFrom, s.log.length], [from, s.logLines - from], `log lines after ${from}`);
  Object.assign(held, { number: s.logNumber, lines: s.logLines, text: [...held.text.slice(0, from), ...s.log] });
  return s;
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

  step('a form released with an edit nobody saved is unloaded all the same, and the edit goes (a first row begun '
    + 'on a model without links takes its new header with it)');
  const type = (control, text) => ({ do: 'type', control, text });
  for (const edits of [[type('TXT_MODORIGINE', 'MODELLO04'), type('TXT_DESCARTDAGENERARE', 'DROPPED')],
    [type('TXT_MODORIGINE', 'MODELLO03'), { do: 'press', control: 'GRIDNAV_AGGANCI', button: 'Nuovo' },
      type('TXT_TSAGGANCIO', 'TS-LINO-BLU')]]) {
    const editing = await new ApiClient(server).open();
    for (const edit of edits) await editing.post('/api/action', { form: FORM, ...edit });
    await editing.until((s) => s.done >= edits.length && !s.busy);
    await editing.post('/api/release', {});
    await editing.until((s) => s.ended);
    const editingUnloaded = `Session ${editing.sid}: FRMFA_AGGANCI unloaded`;
    for (let i = 0; i < 50 && !server.output.includes(editingUnloaded); ++i) await sleep(100);
    assert.ok(server.output.includes(editingUnloaded), 'the form with an edit was unloaded');
  }
  assert.ok(!query(data.db, 'SELECT FA64_DESCRIZIONE FROM FA64_AGGANCIDET').some((r) => r[0].trim() === 'DROPPED'));
  assert.ok(!query(data.db, 'SELECT FA63_CODART_MG66 FROM FA63_AGGANCI').some((r) => r[0].trim() === 'MODELLO03'));

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
  const folderAsset = await new Promise((resolve, reject) => {
    const url = new URL(server.base);  // sent as written: fetch would take the dots away
    http.get({ host: url.hostname, port: url.port, path: '/assets/%2e%2e' }, (res) => resolve(res.statusCode))
      .on('error', reject);
  });
  assert.equal(folderAsset, 404, 'a folder is no asset');

  step('at most 64 forms are open at once: each holds a thread and a database connection');
  const many = [];
  let refused;
  for (let i = 0; i < 80 && !refused; ++i) {
    const res = await new ApiClient(server).request('/api/sessions', {});
    if (res.status === 200) many.push(Object.assign(new ApiClient(server), { sid: (await res.json()).sid }));
    else refused = [res.status, await res.json()];
  }
  assert.deepEqual(refused,
    [503, { error: 'too many forms open: close a tab, or wait until an idle one is released' }]);
  for (const m of many) await m.post('/api/release', {});
  await (await new ApiClient(server).open()).post('/api/release', {});  // a released form makes room

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

  step('a run sends each log line once; released, it stops between two articles and closes its log');
  const big = { dir: data.dir, db: `${data.dir}/big.db` };
  execFileSync(bin, ['demo-db', big.db, '--articles', '2000'], { cwd: big.dir, stdio: 'ignore' });
  const bigServer = await startServer(big);
  try {
    const created = (prefix) => query(big.db, 'SELECT MG66_CODART FROM MG66_ANAGRART')
      .filter((r) => r[0].startsWith(`${prefix}BENCH`)).length;
    const run = await startMassRun(bigServer, 'R');
    const held = { number: 0, lines: 0, text: [] };
    // Two snapshots that added to lines the page held, then the release.
    for (let added = 0; added < 2;) {
      const s = await nextLog(run, held);
      if (s.logFrom > 0 && s.log.length) ++added;
    }
    await run.post('/api/release', {});
    while (!(await nextLog(run, held)).ended);
    const whole = (await run.next()).log;
    assert.deepEqual(held.text, whole, 'the lines received one snapshot at a time are the whole log');
    const done = created('R');
    assert.ok(done > 0 && done < 2000, `stopped after ${done} of 2000 articles`);
    assert.equal(whole.filter((l) => /^Fine duplicazione/.test(l)).length, done, 'every article written is whole');
    assert.ok(whole.some((l) => l.startsWith('Termine elaborazione')), 'the log is closed');

    step('Ctrl-C during a run stops it the same way, and the server exits at once');
    const stopped = await startMassRun(bigServer, 'C');
    await stopped.until((s) => s.log.length >= 40);
    const exited = new Promise((r) => bigServer.proc.once('close', r));
    const start = performance.now();
    bigServer.proc.kill('SIGINT');
    await exited;
    assert.ok(performance.now() - start < 3000, 'the server exited within 3 s');
    assert.ok(bigServer.output.some((l) => l.startsWith('Stopping: runs at work stop')), bigServer.output.join('\n'));
    assert.ok(created('C') < 2000, `stopped after ${created('C')} of 2000 articles`);
  } finally {
    await bigServer.stop();
  }

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
