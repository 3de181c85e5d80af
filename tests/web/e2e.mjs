// The forms in Chromium, done by clicking as a person does: a generation run of MODELLO04 (a question
// answered No, then Yes), a link row added and deleted, the log downloaded, a refused request and a lost
// server told on the page; each tab its own form.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { ApiClient, bin, demoDatabase, startServer, launchBrowser, query, screenshots } from './harness.mjs';

const data = demoDatabase();
// A temporary folder of the server's own: its download folder is the one folder made there.
const serverTemp = mkdtempSync(path.join(tmpdir(), 'agganci-web-tmp-'));
const server = await startServer(data, [], { TMPDIR: serverTemp });
const browser = await launchBrowser();
const step = (name) => console.log(`- ${name}`);

const ctl = (page, name) => page.locator(`[data-control="${name}"]`).first();
async function type(page, name, text) {
  const input = ctl(page, name);
  await input.fill(text);
  await input.press('Enter');
}
async function answerDialog(page, label) {
  const dialog = page.locator('#overlay [role=alertdialog]');
  await dialog.waitFor();
  const shown = await dialog.elementHandle();
  const text = await dialog.locator('.dialog-text').innerText();
  await dialog.getByRole('button', { name: label, exact: true }).click();
  // Another question may take its place at once: this one has gone when its box is off the page.
  await page.waitForFunction((box) => !box.isConnected, shown);
  return text;
}
const gridRows = (page, name) => page.locator(`[data-control="${name}"] tbody tr`);
const articles = () => new Set(query(data.db, 'SELECT MG66_CODART FROM MG66_ANAGRART').map((r) => r[0].trim()));
// Compared here, not in SQL: the columns' collation is the ERP's own, unknown to the sqlite3 tool.
const linkRows = () => {
  const header = query(data.db, 'SELECT FA63_GUID, FA63_CODART_MG66 FROM FA63_AGGANCI').find((r) => r[1].trim() === 'MODELLO04')[0];
  return query(data.db, 'SELECT FA64_GUID_FA63, FA64_CODTESS_FA12 FROM FA64_AGGANCIDET')
    .filter((r) => r[0] === header).map((r) => r[1].trim());
};

try {
  const page = await browser.newPage();
  await page.goto(server.url);

  step('the model is loaded by typing its code');
  await type(page, 'TXT_MODORIGINE', 'MODELLO04');
  await assert.doesNotReject(gridRows(page, 'QGRD_AGGANCI').nth(2).waitFor());
  assert.equal(await gridRows(page, 'QGRD_AGGANCI').count(), 3);
  await page.screenshot({ path: path.join(screenshots, 'links-tab.png'), fullPage: true });

  step('a link row is added and saved, then deleted');
  await ctl(page, 'GRIDNAV_AGGANCI').locator('[data-button=Nuovo]').click();
  await page.locator('.navigator .newrecord').first().waitFor();
  await type(page, 'TXT_TSAGGANCIO', 'TS-SETA-ROSSA');
  await page.locator('[data-lookup=TXT_TSAGGANCIO].decoded').waitFor();
  await type(page, 'TXT_DESCARTDAGENERARE', 'Camicia donna seta rossa');
  await ctl(page, 'GRIDNAV_AGGANCI').locator('[data-button=Salva]').click();
  await gridRows(page, 'QGRD_AGGANCI').nth(3).waitFor();
  await ctl(page, 'INTERNAV_AGGANCI').locator('[data-button=Salva]').click();
  await page.waitForFunction(() => !document.querySelector('.navigator .newrecord'));
  await page.waitForTimeout(300);
  assert.ok(linkRows().includes('TS-SETA-ROSSA'), 'the new link row is in the database');
  await gridRows(page, 'QGRD_AGGANCI').nth(3).locator('td').nth(1).click();
  await page.locator('[data-control=QGRD_AGGANCI] tr.current[data-row="4"]').waitFor();
  await ctl(page, 'GRIDNAV_AGGANCI').locator('[data-button=Elimina]').click();
  // The form warns what the deletion takes with it; the person confirms.
  assert.match(await answerDialog(page, 'OK'), /TS-SETA-ROSSA/);
  assert.match(await answerDialog(page, 'Sì'), /Eliminare/);
  await page.waitForFunction(() => document.querySelectorAll('[data-control=QGRD_AGGANCI] tbody tr').length === 3);
  await ctl(page, 'INTERNAV_AGGANCI').locator('[data-button=Salva]').click();
  await page.waitForTimeout(500);
  assert.deepEqual(linkRows().sort(), ['TS-DENIM-BLU', 'TS-LINO-BLU', 'TS-TWILL-NERO']);

  step('the generation question answered No creates nothing');
  const before = articles();
  await ctl(page, 'CMD_DUPLICA').click();
  const question = await answerDialog(page, 'No');
  assert.match(question, /Procedere/);
  await page.waitForFunction(() => document.getElementById('busy').hidden);
  assert.equal(articles().size, before.size, 'no article was written');

  step('answered Yes, the run creates the three articles and shows its log');
  await ctl(page, 'CMD_DUPLICA').click();
  await answerDialog(page, 'Sì');
  await page.locator('#loglines').filter({ hasText: /\S/ }).waitFor();
  await ctl(page, 'CMD_LOG').waitFor();
  const generated = (await page.locator('[data-control=QGRD_AGGANCI] td[data-field=FA64_ARTAGGANCIO_MG66]').allInnerTexts())
    .map((t) => t.trim());
  assert.equal(generated.filter(Boolean).length, 3, `three codes in the grid: ${generated}`);
  const after = articles();
  for (const code of generated) assert.ok(after.has(code), `${code} is in the database`);
  assert.equal(after.size, before.size + 3);
  const logText = await page.locator('#loglines').innerText();
  for (const code of generated) assert.ok(logText.includes(code), `the log names ${code}`);
  await page.screenshot({ path: path.join(screenshots, 'generation-run.png'), fullPage: true });

  step("the variant form opens from the links tab on the model's variants");
  await ctl(page, 'CMD_VARIANTI').click();
  const modelVariants = page.locator('.modal[data-form=FRMFA_VARIANTI]');
  await modelVariants.waitFor();
  await modelVariants.locator('[data-control=QGRD_VARIANTI] tbody tr').first().waitFor();
  assert.equal(await modelVariants.locator('[data-control=QGRD_VARIANTI] tbody tr').count(), 2, "MODELLO04's two variants");
  await modelVariants.getByRole('button', { name: 'Chiudi' }).click();
  await modelVariants.waitFor({ state: 'detached' });

  step('the log viewer saves the log for download');
  await ctl(page, 'CMD_LOG').click();
  const save = page.locator('#overlay .dialog.save');
  await save.waitFor();
  await save.getByRole('textbox').fill('generazione.txt');
  await save.getByRole('button', { name: 'Salva' }).click();
  const viewer = page.locator('#overlay .dialog.viewer');
  await viewer.waitFor();
  await page.screenshot({ path: path.join(screenshots, 'log-viewer.png') });
  const [download] = await Promise.all([page.waitForEvent('download'), viewer.getByText('Scarica').click()]);
  const saved = readFileSync(await download.path(), 'utf8');
  for (const code of generated) assert.ok(saved.includes(code), `the downloaded log names ${code}`);
  await viewer.getByRole('button', { name: 'Chiudi' }).click();
  await viewer.waitFor({ state: 'detached' });

  step('another tab has a form of its own; a reload finds the same form again');
  const second = await browser.newPage();
  await second.goto(server.url);
  await ctl(second, 'TXT_MODORIGINE').waitFor();
  assert.equal(await ctl(second, 'TXT_MODORIGINE').inputValue(), '', 'the second tab starts empty');
  const sid = await page.evaluate(() => sessionStorage.getItem('agganci.sid'));
  assert.notEqual(sid, await second.evaluate(() => sessionStorage.getItem('agganci.sid')));
  await page.reload();
  await gridRows(page, 'QGRD_AGGANCI').nth(2).waitFor();
  assert.equal(await ctl(page, 'TXT_MODORIGINE').inputValue(), 'MODELLO04');
  assert.equal(await page.evaluate(() => sessionStorage.getItem('agganci.sid')), sid);

  step('closing a tab releases its form (the unload runs)');
  const secondSid = await second.evaluate(() => sessionStorage.getItem('agganci.sid'));
  await second.close();
  const released = `Session ${secondSid}: FRMFA_AGGANCI unloaded`;
  for (let i = 0; i < 100 && !server.output.includes(released); ++i) await new Promise((r) => setTimeout(r, 200));
  assert.ok(server.output.includes(released), 'the closed tab\'s form was unloaded');

  step('mass tab: articles chosen in the wizard, a mask, one article unticked');
  const mass = await browser.newPage();
  await mass.goto(server.url);
  await mass.locator('[data-item=ITM0102]').click();
  const wizard = ctl(mass, 'ADVQ_ARTICOLI');
  await wizard.waitFor();
  await wizard.getByLabel('Campo').selectOption('Articolo');
  await wizard.getByLabel('Operatore').selectOption('starts');
  await wizard.getByLabel('Valore', { exact: true }).fill('PAN');
  await wizard.getByRole('button', { name: 'Aggiungi condizione' }).click();
  await wizard.locator('.conditions li').waitFor();
  await ctl(mass, 'CMD_AVANTI').click();
  const selected = gridRows(mass, 'QGRD_DUPLMASS');
  await selected.nth(3).waitFor();
  assert.equal(await selected.count(), 4);
  const unticked = selected.filter({ hasText: 'PAN-201' }).locator('input[type=checkbox]');
  assert.ok(await unticked.isChecked());
  await unticked.click();
  await mass.waitForFunction(() => [...document.querySelectorAll('[data-control=QGRD_DUPLMASS] tbody tr')]
    .some((tr) => tr.textContent.includes('PAN-201') && !tr.querySelector('input[type=checkbox]').checked));
  await mass.selectOption('[data-control=CBO_PREFISSO]', 'Sostituisci parziale');
  await mass.waitForFunction(() => document.querySelector('[data-control=CBO_PREFISSO]').value === 'Sostituisci parziale');
  await type(mass, 'TXT_PREFISSODART', 'PAN-9');
  await mass.screenshot({ path: path.join(screenshots, 'mass-tab.png'), fullPage: true });

  step('the variant form, a modal over the mass tab, with one variant switched off');
  await ctl(mass, 'CMD_GESTVARD').click();
  const variants = mass.locator('.modal[data-form=FRMFA_VARIANTI]');
  await mass.waitForFunction(() => document.querySelector('.modal[data-form=FRMFA_VARIANTI]')
    || document.querySelector('#overlay [role=alertdialog]'));
  while (await mass.locator('#overlay [role=alertdialog]').count()) await answerDialog(mass, 'OK');
  await variants.waitFor();
  const variantRows = variants.locator('[data-control=QGRD_VARIANTI] tbody tr');
  await variantRows.first().waitFor();
  const off = variantRows.first().locator('input[type=checkbox]').first();
  const wasOn = await off.isChecked();
  await off.click();
  await mass.waitForFunction((on) => document.querySelector(
    '.modal[data-form=FRMFA_VARIANTI] [data-control=QGRD_VARIANTI] tbody tr input[type=checkbox]').checked !== on, wasOn);
  await mass.screenshot({ path: path.join(screenshots, 'variants-form.png'), fullPage: true });
  await variants.getByRole('button', { name: 'Chiudi' }).click();
  await variants.waitFor({ state: 'detached' });

  step('the mass run creates the ticked articles only');
  await ctl(mass, 'CMD_DUPLMASS').click();
  for (;;) {
    await mass.waitForFunction(() => document.querySelector('#overlay [role=alertdialog]')
      || (document.getElementById('busy').hidden && document.querySelector('[data-control=CMD_LOGDUPL]')));
    if (!(await mass.locator('#overlay [role=alertdialog]').count())) break;
    const buttons = await mass.locator('#overlay [role=alertdialog] button').allInnerTexts();
    await answerDialog(mass, buttons.includes('Sì') ? 'Sì' : 'OK');
  }
  const now = articles();
  for (const code of ['PAN-900', 'PAN-902', 'PAN-903']) assert.ok(now.has(code), `${code} was created`);
  assert.ok(!now.has('PAN-901'), 'the unticked article was not duplicated');
  await mass.locator('#loglines').filter({ hasText: 'PAN-902' }).waitFor();
  const switchedOff = query(data.db, 'SELECT MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR FROM MG6B_GESVARART')
    .filter((r) => r[0].trim() === 'PAN-900' && r[1].trim() === 'COL');
  assert.deepEqual(switchedOff.map((r) => r[2]), [wasOn ? '0' : '1'], 'the new article has the variant as chosen in the form');

  step('a refused request and an unreachable server are told on the page');
  const [actions, polls] = ['action', 'state'].map((name) => (url) => url.pathname === `/api/${name}`);
  await page.route(actions, (r) => r.fulfill({ status: 409, contentType: 'application/json',
    body: JSON.stringify({ error: 'no such question is waiting' }) }));
  await gridRows(page, 'QGRD_AGGANCI').nth(1).locator('td').nth(1).click();
  await page.locator('#notice', { hasText: '409: no such question is waiting' }).waitFor();
  await page.unroute(actions);
  await page.route(polls, (r) => r.abort());
  // A row chosen for real: its news end the request in progress, and the next one fails.
  await gridRows(page, 'QGRD_AGGANCI').nth(2).locator('td').nth(1).click();
  await page.locator('#notice', { hasText: 'Il server non risponde' }).waitFor();
  await page.unroute(polls);
  await page.locator('#notice').waitFor({ state: 'hidden' });

  step('Escape closes the form; its unload runs');
  const massSid = await mass.evaluate(() => sessionStorage.getItem('agganci.sid'));
  await mass.locator('#titlebar').click();
  await mass.keyboard.press('Escape');
  await mass.getByText('La finestra è stata chiusa.').waitFor();
  assert.ok(server.output.includes(`Session ${massSid}: FRMFA_AGGANCI unloaded`));

  step('1000 articles more: a list starts with what is typed and is cut at 500, a grid pages to its last row');
  const large = { dir: mkdtempSync(path.join(tmpdir(), 'agganci-web-')) };
  large.db = path.join(large.dir, 'large.db');
  execFileSync(bin, ['demo-db', large.db, '--articles', '1000'], { cwd: large.dir, stdio: 'ignore' });
  const largeServer = await startServer(large);
  try {
    const big = await browser.newPage();
    await big.goto(largeServer.url);
    // The code typed reaches the server before the list is asked for.
    await Promise.all([big.waitForResponse((r) => r.url().includes('/api/action')),
      type(big, 'TXT_MODORIGINE', 'modello0')]);
    await big.locator('[data-list=TXT_MODORIGINE]').click();
    const listed = big.locator('#overlay .list tbody tr');
    await listed.first().waitFor();
    assert.deepEqual(await listed.evaluateAll((rows) => rows.map((r) => r.dataset.code)),
      ['MODELLO01', 'MODELLO02', 'MODELLO03', 'MODELLO04']);
    await listed.first().click();
    await big.locator('[data-lookup=TXT_MODORIGINE].decoded').waitFor();
    await big.locator('[data-item=ITM0102]').click();
    const wizard = ctl(big, 'ADVQ_ARTICOLI');
    await wizard.getByLabel('Campo').selectOption('Articolo');
    await wizard.getByTitle('Elenco valori').click();
    await listed.first().waitFor();
    assert.equal(await listed.count(), 500, 'the value list of Articolo is cut');
    await big.locator('#overlay').getByRole('button', { name: 'Chiudi' }).click();
    await listed.first().waitFor({ state: 'detached' });
    await wizard.getByLabel('Operatore').selectOption('starts');
    await wizard.getByLabel('Valore', { exact: true }).fill('BENCH');
    await wizard.getByRole('button', { name: 'Aggiungi condizione' }).click();
    await wizard.locator('.conditions li').waitFor();
    await ctl(big, 'CMD_AVANTI').click();
    const pager = ctl(big, 'QGRD_DUPLMASS').locator('.grid-more');
    await pager.filter({ hasText: 'righe 1–400 di 1000' }).waitFor();
    await pager.getByTitle('Ultime righe').click();
    await pager.filter({ hasText: 'righe 601–1000 di 1000' }).waitFor();
    const lastRow = ctl(big, 'QGRD_DUPLMASS').locator('tr[data-row="1000"]');
    assert.match(await lastRow.innerText(), /BENCH-001000/);
    await lastRow.locator('input[type=checkbox]').click();
    await big.waitForFunction(() =>
      !document.querySelector('[data-control=QGRD_DUPLMASS] tr[data-row="1000"] input').checked);
  } finally {
    await largeServer.stop();
  }

  step('a tab past the forms the server holds is told why and opens its form once another is released');
  const holders = [];
  for (let res; (res = await new ApiClient(server).request('/api/sessions', {})).ok;)
    holders.push(Object.assign(new ApiClient(server), { sid: (await res.json()).sid }));
  const late = await browser.newPage();
  await late.goto(server.url);
  await late.locator('#notice').filter({ hasText: 'Il server ha rifiutato la richiesta (503: too many forms open' })
    .waitFor();
  await holders.pop().post('/api/release', {});
  await ctl(late, 'TXT_MODORIGINE').waitFor({ timeout: 15000 });
  assert.ok(await late.locator('#notice').isHidden(), 'the notice goes with the form opened');
  for (const h of holders) await h.post('/api/release', {});

  step('the server keeps its downloads in a folder of its own that only its user may enter, gone when it stops');
  const created = readdirSync(serverTemp).filter((name) => name.startsWith('agganci-serve-'));
  assert.equal(created.length, 1, `one folder of the server: ${created}`);
  const downloads = path.join(serverTemp, created[0]);
  assert.equal(statSync(downloads).mode & 0o777, 0o700, 'no other user may read or plant files there');
  await server.stop();
  assert.ok(!existsSync(downloads), 'the folder is gone');
  rmSync(serverTemp, { recursive: true, force: true });
  console.log('e2e: passed');
} catch (e) {
  for (const [i, p] of browser.pages().entries()) await p.screenshot({ path: `/tmp/agganci-web-failure-${i}.png`, fullPage: true }).catch(() => {});
  throw e;
} finally {
  await browser.close();
  await server.stop();
}
// Idle keep-alive connections would hold the process open for a while.
process.exit(0);
