// Draws a form's controls from the shell's control model. It knows kinds of controls (text box, lookup
// box, grid, navigator...), never a particular form: every control is named by the model, and every
// action goes back to the server as {do, form, control, ...}.
'use strict';

const Controls = (() => {
  const NAVIGATOR_BUTTONS = [
    ['Nuovo', 'Nuovo'], ['Salva', 'Salva'], ['Annulla', 'Annulla'], ['Elimina', 'Elimina'],
    ['Primo', '|◀'], ['Precedente', '◀'], ['Successivo', '▶'], ['Ultimo', '▶|'],
  ];

  function el(tag, attrs = {}, ...children) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs)) {
      if (v === undefined || v === null || v === false) continue;
      if (k.startsWith('on')) e.addEventListener(k.slice(2), v);
      else if (k === 'text') e.textContent = v;
      else e.setAttribute(k, v === true ? '' : v);
    }
    for (const c of children) if (c) e.append(c);
    return e;
  }

  // "&Genera" shows as "Genera" with the access key underlined.
  function caption(text) {
    const span = el('span');
    const i = (text || '').indexOf('&');
    if (i < 0 || i === text.length - 1) { span.textContent = text || ''; return span; }
    span.append(text.slice(0, i), el('u', { text: text[i + 1] }), text.slice(i + 2));
    return span;
  }
  const plain = (text) => (text || '').replace('&', '');

  // A text input that sends its text when the person leaves it or presses Enter.
  function textInput(c, form, send, reachable) {
    const input = el('input', {
      type: 'text', value: c.text, 'data-control': c.name, 'data-form': form.name,
      disabled: !reachable, class: c.upper ? 'upper' : null, 'aria-label': c.name,
    });
    input.value = c.text;
    let sent = c.text;
    const commit = () => {
      if (input.value === sent) return;
      sent = input.value;
      send({ do: 'type', form: form.name, control: c.name, text: input.value });
    };
    input.addEventListener('change', commit);
    input.addEventListener('keydown', (e) => { if (e.key === 'Enter') { e.preventDefault(); commit(); } });
    return input;
  }

  function grid(c, form, send, reachable) {
    const box = el('div', { class: 'grid', 'data-control': c.name, 'data-form': form.name });
    if (c.caption) box.append(el('div', { class: 'grid-caption', text: c.caption }));
    if (c.rowCount > (c.rows || []).length) box.append(pager(c, form, send, reachable));
    const table = el('table');
    const head = el('tr', {}, el('th', { class: 'rownum', text: '' }));
    for (const col of c.columns || []) head.append(el('th', { text: col.caption || col.field }));
    table.append(el('thead', {}, head));
    const body = el('tbody');
    (c.rows || []).forEach((cells, i) => {
      const row = (c.first || 1) + i;
      const tr = el('tr', { class: row === c.row ? 'current' : null, 'data-row': row });
      tr.append(el('td', { class: 'rownum', text: String(row) }));
      tr.addEventListener('click', (e) => {
        if (e.target.tagName !== 'INPUT' && reachable && row !== c.row) send({ do: 'row', form: form.name, control: c.name, row });
      });
      cells.forEach((text, k) => {
        const col = c.columns[k];
        if (col.kind !== 'text') {
          const tick = el('input', { type: 'checkbox', 'data-field': col.field, disabled: !reachable || !col.editable,
            'aria-label': `${col.caption || col.field} ${row}` });
          tick.checked = text.trim() === '1' || text.trim().toLowerCase() === 'true';
          tick.addEventListener('click', (e) => {
            e.preventDefault();
            send({ do: 'tick', form: form.name, control: c.name, row, field: col.field });
          });
          tr.append(el('td', { class: 'check' }, tick));
        } else {
          tr.append(el('td', { 'data-field': col.field, text }));
        }
      });
      body.append(tr);
    });
    table.append(body);
    box.append(table);
    return box;
  }

  // A grid with more rows than the server sends shows a window of them: these buttons move it (the server
  // keeps the last window full, so a window is as long as the one shown).
  function pager(c, form, send, reachable) {
    const first = c.first || 1;
    const size = c.rows.length;
    const last = first + size - 1;
    const go = (text, title, row, off) => el('button', { type: 'button', title, disabled: !reachable || off,
      onclick: () => send({ do: 'scroll', form: form.name, control: c.name, row }) }, text);
    const atStart = first <= 1;
    const atEnd = last >= c.rowCount;
    return el('div', { class: 'grid-more' },
      go('|◀', 'Prime righe', 1, atStart), ' ', go('◀', 'Righe precedenti', Math.max(1, first - size), atStart),
      el('span', { text: ` righe ${first}–${last} di ${c.rowCount} ` }),
      go('▶', 'Righe successive', last + 1, atEnd), ' ', go('▶|', 'Ultime righe', c.rowCount, atEnd));
  }

  function query(c, form, send, reachable, ui) {
    const box = el('div', { class: 'query', 'data-control': c.name, 'data-form': form.name });
    const state = ui.query[c.name] || (ui.query[c.name] = { field: (c.fields || [])[0] || '', op: '=', v1: '', v2: '' });
    const field = el('select', { 'aria-label': 'Campo', disabled: !reachable, onchange: (e) => { state.field = e.target.value; } });
    for (const f of c.fields || []) field.append(el('option', { value: f, text: f, selected: f === state.field }));
    const op = el('select', { 'aria-label': 'Operatore', disabled: !reachable, onchange: (e) => { state.op = e.target.value; ui.redraw(); } });
    for (const [v, t] of [['=', 'uguale a'], ['<>', 'diverso da'], ['range', 'compreso tra'], ['starts', 'inizia con'], ['in', 'nell\'elenco']])
      op.append(el('option', { value: v, text: t, selected: v === state.op }));
    const value = (key, side) => {
      const input = el('input', { type: 'text', 'aria-label': side === 1 ? 'Valore' : 'Valore finale', disabled: !reachable });
      input.value = state[key];
      input.addEventListener('input', () => { state[key] = input.value; });
      // The list starts with what is in the value's box.
      const list = el('button', { type: 'button', class: 'dots', title: 'Elenco valori', disabled: !reachable,
        onclick: () => send({ do: 'queryList', form: form.name, control: c.name, field: state.field, side,
          text: state[key] }) }, '…');
      return el('span', { class: 'value' }, input, list);
    };
    const add = el('button', { type: 'button', disabled: !reachable, onclick: () => {
      const values = state.op === 'range' ? [state.v1, state.v2]
        : state.op === 'in' ? state.v1.split(',').map((s) => s.trim()).filter(Boolean) : [state.v1];
      send({ do: 'condition', form: form.name, control: c.name, field: state.field, op: state.op, values });
      state.v1 = ''; state.v2 = '';
    } }, 'Aggiungi condizione');
    const clear = el('button', { type: 'button', disabled: !reachable,
      onclick: () => send({ do: 'clearConditions', form: form.name, control: c.name }) }, 'Svuota');
    box.append(el('div', { class: 'query-row' }, field, op, value('v1', 1), state.op === 'range' ? value('v2', 2) : null, add, clear));
    const list = el('ul', { class: 'conditions' });
    for (const cond of c.conditions || []) list.append(el('li', { text: `${cond.field} ${cond.op} ${cond.values.join(', ')}` }));
    box.append(list);
    return box;
  }

  // One control (and, for a frame, what sits in it). `children` maps a frame's name to its controls.
  function control(c, form, send, children, parentReachable, ui) {
    if (!c.visible) return null;
    const reachable = parentReachable && c.enabled;
    const name = c.name;
    const action = (extra) => send({ form: form.name, control: name, ...extra });
    switch (c.kind) {
      case 'label':
        return el('span', { class: 'label', 'data-control': name, text: plain(c.caption) });
      case 'text':
        return textInput(c, form, send, reachable);
      case 'lookup': {
        const box = el('span', { class: 'lookup' + (c.decoded ? ' decoded' : ''), 'data-lookup': name });
        box.append(textInput(c, form, send, reachable));
        if (c.list) box.append(el('button', { type: 'button', class: 'dots', title: 'Elenco', 'data-list': name,
          disabled: !reachable, onclick: () => action({ do: 'openList' }) }, '…'));
        return box;
      }
      case 'check': {
        const box = el('input', { type: 'checkbox', 'data-control': name, disabled: !reachable });
        box.checked = c.value === 1;
        box.indeterminate = c.value === 2;
        box.addEventListener('click', (e) => { e.preventDefault(); action({ do: 'click' }); });
        return el('label', { class: 'check' }, box, ' ', plain(c.caption));
      }
      case 'combo': {
        const select = el('select', { 'data-control': name, disabled: !reachable, 'aria-label': name });
        select.append(el('option', { value: '', text: '', disabled: true, selected: c.index < 0 }));
        c.items.forEach((item, i) => select.append(el('option', { value: item, text: item, selected: i === c.index })));
        select.addEventListener('change', () => action({ do: 'choose', caption: select.value }));
        return select;
      }
      case 'button':
        return el('button', { type: 'button', 'data-control': name, disabled: !reachable, accesskey: null,
          onclick: () => action({ do: 'click' }) }, caption(c.caption));
      case 'frame':
      case 'dataframe': {
        const inner = pairs((children[name] || []).map((k) => [k, control(k, form, send, children, reachable, ui)]));
        if (!inner.length && !c.caption) return null;
        return el('fieldset', { class: 'frame' + (reachable ? '' : ' disabled'), 'data-control': name },
          c.caption ? el('legend', { text: plain(c.caption) }) : null, ...inner);
      }
      case 'navigator': {
        const bar = el('div', { class: 'navigator', role: 'toolbar', 'data-control': name });
        for (const [button, text] of NAVIGATOR_BUTTONS)
          bar.append(el('button', { type: 'button', 'data-button': button, title: button, disabled: !reachable,
            onclick: () => action({ do: 'press', button }) }, text));
        if (c.status === 2) bar.append(el('span', { class: 'newrecord', text: 'Nuovo record' }));
        return bar;
      }
      case 'grid':
        return grid(c, form, send, reachable);
      case 'progress': {
        const span = Math.max(1, c.max - c.min);
        return el('div', { class: 'progress', 'data-control': name },
          el('progress', { max: span, value: Math.max(0, c.value - c.min) }),
          el('span', { text: [c.caption, c.text].filter(Boolean).join(' ') }));
      }
      case 'query':
        return query(c, form, send, reachable, ui);
      case 'sidebar':
        return sidebar(c, form, send, reachable);
      default:  // the resize control, the media control, data frames: nothing to draw
        return null;
    }
  }

  // A label and the field after it stay on one line when the frame wraps.
  function pairs(drawn) {
    const out = [];
    for (let i = 0; i < drawn.length; ++i) {
      const [model, node] = drawn[i];
      if (!node) continue;
      const next = drawn[i + 1];
      if (model.kind === 'label' && next && next[1] && ['text', 'lookup', 'combo'].includes(next[0].kind)) {
        out.push(el('span', { class: 'pair' }, node, next[1]));
        ++i;
      } else {
        out.push(node);
      }
    }
    return out;
  }

  function sidebar(c, form, send, reachable) {
    const nav = el('div', { class: 'sidebar', 'data-control': c.name });
    for (const item of c.items || [])
      nav.append(el('button', { type: 'button', class: item.key === c.selected ? 'selected' : null,
        'data-item': item.key, disabled: !reachable || !item.enabled,
        onclick: () => send({ do: 'select', form: form.name, control: c.name, group: item.group, key: item.key }) },
      item.caption));
    return nav;
  }

  // The form's controls, frames nested; the side bar is returned apart for the window's side.
  function form(model, send, ui) {
    const children = {};
    const roots = [];
    const known = new Set(model.controls.map((c) => c.name));
    for (const c of model.controls) {
      if (c.in && known.has(c.in)) (children[c.in] = children[c.in] || []).push(c);
      else roots.push(c);
    }
    let side = null;
    const body = [];
    for (const c of roots) {
      if (c.kind === 'sidebar') { side = control(c, model, send, children, true, ui); continue; }
      const drawn = control(c, model, send, children, true, ui);
      if (drawn) body.push(drawn);
    }
    return { side, body };
  }

  return { form, el, plain };
})();
