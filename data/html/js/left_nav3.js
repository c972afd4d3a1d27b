/* veskar page asset: the side panel that lists the findings marked on this page */
(function (w, d) {
  'use strict';

  // A mark's name is "<paragraph id>-<offset>-<error code>".
  function paragraphOf(name) {
    return name.split('-')[0];
  }

  // The hint written after a mark: "[...]" in the element that follows it
  // or its wrapper.
  function hintOf(mark) {
    var node = mark;
    for (var up = 0; up < 2 && node; up++, node = node.parentElement) {
      for (var next = node.nextElementSibling; next; next = next.nextElementSibling) {
        var text = w.veskar.text(next);
        if (text.charAt(0) === '[') return text.replace(/^\[(提示信息[:：]\s*)?/, '').replace(/\]$/, '');
        if (next.querySelector && (next.matches('ins, del') || next.querySelector('ins, del'))) break;
      }
    }
    return '';
  }

  // One entry per finding: its marks share a name (a replacement has both).
  function findings() {
    var byName = {}, order = [];
    w.veskar.all('ins[name], del[name]').forEach(function (mark) {
      var name = mark.getAttribute('name');
      var entry = byName[name];
      if (!entry) {
        entry = byName[name] = { name: name, mark: mark, hint: '', del: false, ins: false };
        order.push(entry);
      }
      if (!entry.hint) entry.hint = hintOf(mark);
      entry[mark.tagName === 'DEL' ? 'del' : 'ins'] = true;
    });
    return order;
  }

  function item(vk, entry) {
    var link = vk.el('a');
    link.href = '#' + paragraphOf(entry.name);
    var kind = entry.del ? (entry.ins ? '改' : '删') : '增';
    link.appendChild(vk.el('span', 'vk-kind' + (entry.del && !entry.ins ? ' vk-del' : ''), kind));
    link.appendChild(d.createTextNode(entry.hint || vk.text(entry.mark) || entry.name));
    link.addEventListener('click', function (event) {
      event.preventDefault();
      vk.reveal(vk.byName(paragraphOf(entry.name)) || entry.mark);
      entry.mark.classList.add('vk-flash');
    });
    var li = vk.el('li');
    li.appendChild(link);
    return li;
  }

  function build() {
    var vk = w.veskar;
    if (!vk || !d.body || d.getElementById('vk-panel')) return;
    var list = findings();
    var panel = vk.el('div', 'vk-panel');
    panel.id = 'vk-panel';
    var head = vk.el('div', 'vk-head');
    head.appendChild(vk.el('span', 'vk-title', '本页问题（' + list.length + '）'));
    var toggle = vk.el('button', 'vk-toggle', '\u00ab');
    toggle.type = 'button';
    toggle.title = '收起/展开';
    toggle.addEventListener('click', function () {
      var closed = panel.classList.toggle('vk-closed');
      toggle.textContent = closed ? '\u00bb' : '\u00ab';
      d.body.classList.toggle('vk-with-panel', !closed);
    });
    head.appendChild(toggle);
    var body = vk.el('div', 'vk-body');
    var search = vk.el('div', 'vk-search');
    search.hidden = true;
    body.appendChild(search);
    if (list.length) {
      var ol = vk.el('ol', 'vk-list');
      list.forEach(function (entry) { ol.appendChild(item(vk, entry)); });
      body.appendChild(ol);
    } else {
      body.appendChild(vk.el('p', 'vk-empty', '本页没有标出的问题。'));
    }
    panel.appendChild(head);
    panel.appendChild(body);
    d.body.appendChild(panel);
    d.body.classList.add('vk-with-panel');
    vk.panel = { root: panel, search: search, open: function () {
      if (panel.classList.contains('vk-closed')) toggle.click();
    } };
  }

  // "#0000ABCD" leads to the paragraph with that id.
  function followHash() {
    var id = decodeURIComponent(w.location.hash.slice(1));
    if (w.veskar && /^[0-9A-Fa-f]{8}$/.test(id)) w.veskar.reveal(w.veskar.byName(id.toUpperCase()));
  }

  function start() {
    build();
    followHash();
  }
  // The helpers load after this file; both are there once the page is read.
  if (d.readyState === 'loading') d.addEventListener('DOMContentLoaded', start);
  else w.setTimeout(start, 0);
  w.addEventListener('hashchange', followHash);
})(window, document);
