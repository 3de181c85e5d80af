// The browser shell's page: opens (or, after a reload, finds again) this tab's form on the server, draws
// each snapshot the server publishes, sends the person's actions, and answers the form's questions.
'use strict';

(() => {
  const { el, plain } = Controls;
  const token = new URLSearchParams(location.search).get('token') || '';
  const SID_KEY = 'agganci.sid';
  const ui = { query: {}, redraw: () => draw(last) };
  let sid = sessionStorage.getItem(SID_KEY);
  let last = null;
  let version = 0;
  let log = { number: 0, lines: 0 };  // the processing log shown: which of the form's logs, and its lines held
  let unreachable = false;  // a request did not reach the server, and no poll has since
  const UNREACHABLE = 'Il server non risponde: nuovo tentativo in corso…';

  const api = (path, params = {}) => {
    const q = new URLSearchParams({ token, ...(sid ? { sid } : {}), ...params });
    return `${path}?${q}`;
  };
  // A request the server refused, or that never reached it, is shown as the form's own notices are.
  async function post(path, body) {
    let res;
    try {
      res = await fetch(api(path), { method: 'POST', body: JSON.stringify(body || {}),
        headers: { 'Content-Type': 'application/json' } });
    } catch (e) {
      unreachable = true;
      showNotice(UNREACHABLE);
      return;
    }
    if (res.ok) return;
    const reply = await res.json().catch(() => ({}));
    showNotice(`Il server ha rifiutato la richiesta (${res.status}${reply.error ? ': ' + reply.error : ''})`);
  }

  // Actions reach the form in the order the user made them: a box's text typed on leaving it goes before the
  // click that follows. The server only queues an action, so waiting for its reply costs a round trip.
  let sending = Promise.resolve();
  function send(action) { sending = sending.then(() => post('/api/action', action)); }

  // A new form for this tab. One the server refuses (too many open) is asked for again every few seconds, its
  // reason shown meanwhile: a form closed elsewhere makes room.
  async function openSession() {
    let res;
    for (;;) {
      try {
        res = await fetch(api('/api/sessions', {}), { method: 'POST' });
      } catch (e) {
        res = null;
      }
      if (res && res.ok) break;
      const reply = res ? await res.json().catch(() => ({})) : {};
      showNotice(res ? `Il server ha rifiutato la richiesta (${res.status}${reply.error ? ': ' + reply.error : ''})`
        : UNREACHABLE);
      await new Promise((r) => setTimeout(r, 5000));
    }
    sid = (await res.json()).sid;
    sessionStorage.setItem(SID_KEY, sid);
    version = 0;
    showNotice(null);
  }

  async function poll() {
    for (;;) {
      let res;
      try {
        // After a failure ask for what the server has now: a long poll would keep the notice up until news.
        res = await fetch(api('/api/state',
          { since: unreachable ? version - 1 : version, log: log.number, lines: log.lines }));
      } catch (e) {
        unreachable = true;
        showNotice(UNREACHABLE);
        await new Promise((r) => setTimeout(r, 1000));
        continue;
      }
      if (unreachable) {
        // Back in touch: the notice is the form's again.
        unreachable = false;
        showNotice(last && last.notice);
      }
      if (res.status === 404) {
        // The form of this tab is gone (released while the tab was away, or the server restarted).
        if (!last) { await openSession(); continue; }
        showEnded();
        return;
      }
      if (!res.ok) { showNotice(`Errore del server (${res.status})`); return; }
      const state = await res.json();
      addLog(state);
      if (state.v <= version && !state.ended) continue;
      version = state.v;
      last = state;
      draw(state);
      if (state.ended) { showEnded(); return; }
    }
  }

  // Redrawing replaces the controls: the field the person is typing in keeps its text and the caret.
  function keepTyping(fn) {
    const active = document.activeElement;
    const key = active && active.dataset && active.dataset.control
      ? { form: active.dataset.form, control: active.dataset.control, value: active.value,
          start: active.selectionStart, end: active.selectionEnd } : null;
    fn();
    if (!key) return;
    const again = document.querySelector(`[data-form="${key.form}"][data-control="${key.control}"]`);
    if (!again || again.disabled) return;
    if (again.tagName === 'INPUT' && again.type === 'text') {
      again.value = key.value;
      try { again.setSelectionRange(key.start, key.end); } catch (e) { /* not a text field */ }
    }
    again.focus();
  }

  function draw(state) {
    if (!state) return;
    keepTyping(() => {
      const [main, ...modals] = state.forms;
      const side = document.getElementById('sidebar');
      const body = document.getElementById('form');
      side.replaceChildren();
      body.replaceChildren();
      if (main) {
        document.getElementById('caption').textContent = main.caption;
        document.title = main.caption;
        const drawn = Controls.form(main, send, ui);
        if (drawn.side) side.append(drawn.side);
        body.append(...drawn.body);
        body.dataset.form = main.name;
      }
      const modalBox = document.getElementById('modals');
      modalBox.replaceChildren(...modals.map((m) => modalWindow(m)));
      document.getElementById('busy').hidden = !state.busy;
      const status = (state.status && state.status.panels) || [];
      document.getElementById('statusbar').replaceChildren(...status.map((t) => el('span', { class: 'panel', text: t })));
      showNotice(state.notice);
      drawOverlay(state);
    });
  }

  // A snapshot carries only the log lines the page does not hold yet (all of them for another log): they are
  // added to those shown, so a long run's log is neither sent nor drawn again with every snapshot.
  function addLog(state) {
    const lines = state.log || [];
    const shown = document.getElementById('loglines');
    if (state.logNumber !== log.number || state.logFrom === 0) shown.textContent = lines.join('\n');
    else if (lines.length) shown.append('\n' + lines.join('\n'));
    log = { number: state.logNumber, lines: state.logLines };
    document.getElementById('log').hidden = log.lines === 0;
  }

  function modalWindow(model) {
    const drawn = Controls.form(model, send, ui);
    const close = el('button', { type: 'button', class: 'close', title: 'Chiudi', 'aria-label': 'Chiudi',
      onclick: () => send({ do: 'close', form: model.name }) }, '×');
    return el('div', { class: 'modal-back' },
      el('div', { class: 'modal', role: 'dialog', 'aria-modal': 'true', 'data-form': model.name },
        el('div', { class: 'modal-title' }, el('span', { text: model.caption || model.name }), close),
        el('div', { class: 'modal-body' }, drawn.side, ...drawn.body)));
  }

  // Message-box buttons by style: OK; OK Cancel; Abort Retry Ignore; Yes No Cancel; Yes No; Retry Cancel.
  const BUTTONS = [[[1, 'OK']], [[1, 'OK'], [2, 'Annulla']], [[3, 'Interrompi'], [4, 'Riprova'], [5, 'Ignora']],
    [[6, 'Sì'], [7, 'No'], [2, 'Annulla']], [[6, 'Sì'], [7, 'No']], [[4, 'Riprova'], [2, 'Annulla']]];
  const ICONS = { 16: 'critical', 32: 'question', 48: 'exclamation', 64: 'information' };

  function answer(id, code, text) {
    post('/api/answer', { id, code, text });
  }

  function drawOverlay(state) {
    const overlay = document.getElementById('overlay');
    overlay.replaceChildren();
    let box = null;
    const d = state.dialog;
    if (d) box = dialog(d);
    else if (state.list) box = list(state.list);
    else if (state.viewer) box = viewer(state.viewer);
    overlay.hidden = !box;
    if (!box) return;
    overlay.append(box);
    const focus = box.querySelector('[autofocus]') || box.querySelector('button');
    if (focus) setTimeout(() => focus.focus(), 0);
  }

  function dialog(d) {
    const box = el('div', { class: `dialog ${d.kind}`, role: 'alertdialog', 'aria-label': d.title || 'Messaggio' });
    box.append(el('div', { class: 'dialog-title', text: d.title || (d.kind === 'error' ? 'Errore' : '') }));
    if (d.kind === 'save') {
      const name = el('input', { type: 'text', 'aria-label': 'Nome file', value: 'log.txt', autofocus: true });
      name.value = 'log.txt';
      box.append(el('p', { text: `Salva come (${(d.filter || '').split('|')[0]})` }), name,
        el('div', { class: 'buttons' },
          el('button', { type: 'button', onclick: () => answer(d.id, 1, name.value) }, 'Salva'),
          el('button', { type: 'button', onclick: () => answer(d.id, 2, '') }, 'Annulla')));
      return box;
    }
    const icon = ICONS[d.style & 0xF0] || (d.kind === 'error' ? 'critical' : '');
    const text = el('div', { class: `dialog-text ${icon}` }, el('p', { text: d.text }));
    if (d.kind === 'error') {
      text.append(el('p', { class: 'detail', text: `Errore ${d.number}${d.procedure ? ' in ' + d.procedure : ''}` }));
      if (d.source) text.append(el('pre', { class: 'detail', text: d.source }));
    }
    box.append(text);
    const buttons = el('div', { class: 'buttons' });
    const set = BUTTONS[d.style & 7] || BUTTONS[0];
    const def = (d.style >> 8) & 3;
    set.forEach(([code, label], i) => buttons.append(el('button', { type: 'button', 'data-answer': code,
      autofocus: i === def, onclick: () => answer(d.id, code) }, label)));
    box.append(buttons);
    return box;
  }

  function list(l) {
    const box = el('div', { class: 'dialog list', role: 'dialog', 'aria-label': l.title || 'Elenco' });
    box.append(el('div', { class: 'dialog-title', text: l.title || 'Elenco' }));
    const table = el('table');
    const captions = l.captions && l.captions.length ? l.captions : l.columns;
    table.append(el('thead', {}, el('tr', {}, ...captions.map((c) => el('th', { text: c })))));
    const body = el('tbody');
    for (const row of l.rows) {
      const code = (row[0] || '').trim();
      body.append(el('tr', { 'data-code': code, tabindex: 0, onclick: () => pick(l, code) },
        ...row.slice(0, captions.length).map((t) => el('td', { text: t }))));
    }
    table.append(body);
    // A list is cut at the server's limit; the user is told, so that typing more of the code is the way on.
    const cut = l.total > l.rows.length;
    const more = cut ? el('div', { class: 'list-more', text: `primi ${l.rows.length} di ${l.total}` }) : '';
    box.append(el('div', { class: 'list-body' }, table), more,
      el('div', { class: 'buttons' }, el('button', { type: 'button', onclick: () => dismiss('list') }, 'Chiudi')));
    return box;
  }

  function pick(l, code) {
    if (l.query) {
      const q = ui.query[l.control];
      if (q) q[l.side === 2 ? 'v2' : 'v1'] = code;
      dismiss('list');
    } else {
      send({ do: 'pick', control: l.control, code });
    }
  }

  function viewer(v) {
    const box = el('div', { class: 'dialog viewer', role: 'dialog', 'aria-label': v.name });
    box.append(el('div', { class: 'dialog-title', text: v.name }), el('pre', { class: 'viewer-text', text: v.text }));
    const buttons = el('div', { class: 'buttons' });
    if (v.download) buttons.append(el('a', { class: 'button', href: api('/api/file', { name: v.name }), download: v.name }, 'Scarica'));
    buttons.append(el('button', { type: 'button', onclick: () => dismiss('viewer') }, 'Chiudi'));
    box.append(buttons);
    return box;
  }

  function dismiss(panel) { send({ do: 'dismiss', panel }); }

  function showNotice(text) {
    const n = document.getElementById('notice');
    n.hidden = !text;
    n.textContent = text || '';
  }

  function showEnded() {
    sessionStorage.removeItem(SID_KEY);
    document.getElementById('overlay').hidden = true;
    document.getElementById('modals').replaceChildren();
    document.getElementById('form').replaceChildren(el('div', { class: 'ended' },
      el('p', { text: 'La finestra è stata chiusa.' }),
      el('button', { type: 'button', onclick: () => location.reload() }, 'Apri di nuovo')));
    document.getElementById('sidebar').replaceChildren();
  }

  // Escape goes to the window on top (the form decides what it does with the key).
  document.addEventListener('keydown', (e) => {
    if (e.key !== 'Escape' || !last || last.dialog) return;
    if (last.list || last.viewer) { dismiss(last.list ? 'list' : 'viewer'); return; }
    const top = last.forms[last.forms.length - 1];
    if (top) send({ do: 'key', form: top.name, key: 27 });
  });
  // Leaving the page: the server keeps the form a few seconds for a reload, then releases it.
  window.addEventListener('pagehide', () => { if (sid) navigator.sendBeacon(api('/api/leave')); });

  (async () => {
    if (!sid) await openSession();
    poll();
  })().catch((e) => showNotice(String(e)));
})();
