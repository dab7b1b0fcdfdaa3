#include "platform/webengine/bridge_script.h"

#include <QJsonDocument>
#include <QRandomGenerator>

namespace webengine {

namespace {

// Events are taken in the capture phase of the window, before the page's
// own listeners can stop them; untrusted (scripted) events are ignored.
// Between snapshots a message lists the controls whose value or state a
// script changed: v: [id, value, checked or selected, ...].
// A snapshot is a record per document: {u: URL, c: charset, n: flat node
// list (id, parent id, type, name or data, attributes, control state,
// foreign), s: selection [scope id, text] or 0, f: frames [{e: element id,
// d: document record or null}]}.
constexpr char kBridge[] = R"JS(
(function () {
  'use strict';
  if (window.kestroBridge) return;
  const TOKEN = '@TOKEN@';
  const INSTANCE = Math.random().toString(36).slice(2) + Date.now().toString(36);
  const ids = new WeakMap();
  const nodes = new Map();
  const gone = new FinalizationRegistry(id => nodes.delete(id));
  let nextId = 1;
  let dirty = true;
  let pendingMove = 0;
  // Chromium drops a new page's input until it has shown a frame: two
  // animation frames mean one was made.
  let painted = false;
  requestAnimationFrame(() => requestAnimationFrame(() => { painted = true; }));
  const watched = new WeakSet();
  // What the host was last told of each control: a page's script may set
  // a value or a state without changing the tree.
  const told = new WeakMap();

  function idOf(node) {
    let id = ids.get(node);
    if (id === undefined) {
      id = nextId++;
      ids.set(node, id);
      nodes.set(id, new WeakRef(node));
      gone.register(node, id);
    }
    return id;
  }
  function nodeOf(id) {
    const ref = nodes.get(id);
    return ref ? ref.deref() : undefined;
  }
  function mark() { dirty = true; }
  function isFrame(el) {
    return el.namespaceURI === 'http://www.w3.org/1999/xhtml' &&
           (el.localName === 'iframe' || el.localName === 'frame');
  }
  function frameDocument(el) {
    try { return el.contentDocument; } catch (e) { return null; }
  }
  function liveState(el) {
    switch (el.localName) {
      case 'input': return [el.value, el.checked ? 1 : 0];
      case 'textarea': return [el.value, 0];
      case 'option': return [el.value, el.selected ? 1 : 0];
      default: return 0;
    }
  }
  function controlState(el) {
    const state = liveState(el);
    if (state) told.set(el, state);
    return state;
  }
  // Controls whose value or state changed since the host was told.
  function controlChanges(doc, out) {
    for (const el of doc.querySelectorAll('input,textarea,option')) {
      const before = told.get(el);
      if (!before) continue;  // not in the host's mirror yet
      const now = liveState(el);
      if (now[0] === before[0] && now[1] === before[1]) continue;
      told.set(el, now);
      out.push(idOf(el), now[0], now[1]);
    }
    for (const el of doc.querySelectorAll('iframe,frame')) {
      const inner = frameDocument(el);
      if (inner) controlChanges(inner, out);
    }
    return out;
  }
  function selectionOf(doc) {
    const view = doc.defaultView;
    const sel = view && view.getSelection();
    if (!sel || sel.rangeCount === 0 || sel.isCollapsed) return 0;
    let scope = sel.getRangeAt(0).commonAncestorContainer;
    if (scope.nodeType !== 1) scope = scope.parentNode;
    return scope ? [idOf(scope), sel.toString()] : 0;
  }
  function snapshot(doc) {
    watch(doc);
    const out = [];
    const frames = [];
    const stack = [];
    for (let c = doc.lastChild; c; c = c.previousSibling) stack.push(c, 0);
    while (stack.length) {
      const parent = stack.pop();
      const node = stack.pop();
      const type = node.nodeType;
      if (type === 1) {
        const id = idOf(node);
        const html = node.namespaceURI === 'http://www.w3.org/1999/xhtml';
        const attrs = [];
        for (const a of node.attributes) attrs.push(a.name, a.value);
        out.push(id, parent, 1, html ? node.localName : node.tagName, attrs,
                 html ? controlState(node) : 0, html ? 0 : 1);
        if (isFrame(node)) frames.push(id, node);
        const holder = html && node.localName === 'template' ? node.content : node;
        for (let c = holder.lastChild; c; c = c.previousSibling) stack.push(c, id);
      } else if (type === 3 || type === 4 || type === 8) {
        out.push(idOf(node), parent, type === 8 ? 8 : 3, node.data, 0, 0, 0);
      }
    }
    const frameRecords = [];
    for (let i = 0; i < frames.length; i += 2) {
      const inner = frameDocument(frames[i + 1]);
      frameRecords.push({e: frames[i], d: inner ? snapshot(inner) : null});
    }
    return {i: INSTANCE, u: doc.URL, c: doc.characterSet, n: out, s: selectionOf(doc),
            f: frameRecords};
  }
  function selections(doc, out) {
    const own = selectionOf(doc);
    if (own) out.push(own);
    for (const el of doc.querySelectorAll('iframe,frame')) {
      const inner = frameDocument(el);
      if (inner) selections(inner, out);
    }
    return out;
  }
  function fire(el, type) {
    el.dispatchEvent(new Event(type, {bubbles: true}));
  }
  function setAttributes(el, list) {
    const wanted = new Map();
    for (let i = 0; i + 1 < list.length; i += 2) wanted.set(list[i], list[i + 1]);
    for (const name of el.getAttributeNames())
      if (!wanted.has(name)) el.removeAttribute(name);
    for (const [name, value] of wanted)
      if (el.getAttribute(name) !== value) el.setAttribute(name, value);
  }
  function apply(writes) {
    const results = [];
    for (const w of writes) {
      const node = nodeOf(w[1]);
      let ok = !!node && node.isConnected;
      if (ok) {
        try {
          switch (w[0]) {
            case 'v': node.value = w[2]; fire(node, 'input'); fire(node, 'change'); break;
            case 'c': node.checked = !!w[2]; fire(node, 'change'); break;
            case 's': node.selected = !!w[2]; fire(node.closest('select') || node, 'change'); break;
            case 'A': setAttributes(node, w[2]); break;
            case 'k': node.click(); break;
            default: ok = false;
          }
        } catch (e) { ok = false; }
      }
      results.push(ok ? 1 : 0);
    }
    return results;
  }
  // The page as it is: a snapshot when it changed since the last one,
  // else the selections.
  function state(message) {
    if (dirty) {
      dirty = false;
      message.d = snapshot(document);
    } else {
      message.s = selections(document, []);
      message.v = controlChanges(document, []);
    }
    return message;
  }
  // Chromium cuts a prompt's text at 10,240 characters: a message goes
  // in parts ("+"), the last ("=") getting the host's answer.
  const PART = 10000;
  function send(message) {
    state(message);
    const text = JSON.stringify(message);
    let at = 0;
    while (text.length - at > PART) {
      let end = at + PART;
      const code = text.charCodeAt(end - 1);
      if (code >= 0xD800 && code <= 0xDBFF) end--;  // a pair stays whole
      window.prompt(TOKEN + '+' + text.slice(at, end), '');
      at = end;
    }
    const reply = window.prompt(TOKEN + '=' + text.slice(at), '');
    if (reply) apply(JSON.parse(reply));
  }
  // Where a frame document's viewport starts in the top one.
  function offsetOf(doc) {
    let x = 0, y = 0;
    for (let view = doc.defaultView; view && view !== window; view = view.parent) {
      const frame = view.frameElement;
      if (!frame) break;
      const box = frame.getBoundingClientRect();
      const style = view.parent.getComputedStyle(frame);
      x += box.left + frame.clientLeft + (parseFloat(style.paddingLeft) || 0);
      y += box.top + frame.clientTop + (parseFloat(style.paddingTop) || 0);
    }
    return [x, y];
  }
  // Chromium saves a link Alt+clicked instead of following it; here Alt+
  // click is the add-ons' (the embedded engine follows the link too), so
  // the link is followed unless the page cancelled the click.
  function followAltClick(target, event) {
    const link = target.closest('a[href], area[href]');
    const view = target.ownerDocument.defaultView;
    if (!link || !view) return;
    view.addEventListener('click', function follow(e) {
      if (e !== event || e.defaultPrevented) return;
      e.preventDefault();
      view.open(link.href, link.target || '_self');
    }, {once: true});
  }
  function pointer(kind, event) {
    if (!event.isTrusted) return;
    let target = event.target;
    if (target && target.nodeType !== 1) target = target.parentNode;
    if (!target || target.nodeType !== 1) return;
    const origin = offsetOf(target.ownerDocument);
    const message = {i: INSTANCE, k: kind, e: idOf(target), a: event.altKey ? 1 : 0,
                     x: Math.round(origin[0] + event.clientX),
                     y: Math.round(origin[1] + event.clientY)};
    if (pendingMove) message.m = pendingMove;
    pendingMove = 0;
    if (kind === 'contextmenu') event.preventDefault();
    if (kind === 'click' && event.altKey) followAltClick(target, event);
    send(message);
  }
  function watch(doc) {
    if (watched.has(doc)) return;
    watched.add(doc);
    new MutationObserver(mark).observe(doc, {subtree: true, childList: true,
                                             attributes: true, characterData: true});
    const view = doc.defaultView;
    const target = view || doc;
    target.addEventListener('input', mark, true);
    target.addEventListener('change', mark, true);
    doc.addEventListener('load', event => {
      if (event.target && event.target.nodeType === 1 && isFrame(event.target)) {
        dirty = true;
        const inner = frameDocument(event.target);
        if (inner) watch(inner);
      }
    }, true);
    for (const kind of ['click', 'dblclick', 'contextmenu'])
      target.addEventListener(kind, event => pointer(kind, event), true);
    target.addEventListener('mousemove', event => {
      if (!event.isTrusted || !event.target || event.target.nodeType === undefined) return;
      let el = event.target;
      if (el.nodeType !== 1) el = el.parentNode;
      if (el) pendingMove = [idOf(el), event.altKey ? 1 : 0];
    }, true);
  }
  // A user's acts: where the pointer goes, what the keyboard types into.
  function element(id) {
    const node = nodeOf(id);
    return node && node.nodeType === 1 && node.isConnected ? node : null;
  }
  function isControl(el) {
    return ['input', 'textarea', 'select', 'button', 'img'].includes(el.localName);
  }
  function visibleRect(range) {
    for (const rect of range.getClientRects())
      if (rect.width > 0 && rect.height > 0) return rect;
    return null;
  }
  function charRect(doc, text, at) {
    const range = doc.createRange();
    range.setStart(text, at);
    range.setEnd(text, at + 1);
    return visibleRect(range);
  }
  function skipped(node, root) {
    for (let el = node.parentNode; el && el !== root; el = el.parentNode)
      if (['script', 'style', 'noscript', 'template'].includes(el.localName)) return true;
    return false;
  }
  // The selection's first box when it is inside the element.
  function selectionRect(el) {
    const sel = el.ownerDocument.defaultView.getSelection();
    if (!sel || sel.isCollapsed || sel.rangeCount === 0) return null;
    const range = sel.getRangeAt(0);
    return el.contains(range.commonAncestorContainer) ? visibleRect(range) : null;
  }
  // Over the first character of visible text, or the box's centre; with
  // onSelection, over the text selected in the element, if any (where a
  // person right-clicks to use it).
  function pointAt(id, onSelection) {
    const el = element(id);
    if (!el) return null;
    el.scrollIntoView({block: 'nearest', inline: 'nearest'});
    let rect = onSelection ? selectionRect(el) : null;
    if (!rect && !isControl(el)) {
      const walker = el.ownerDocument.createTreeWalker(el, NodeFilter.SHOW_TEXT);
      for (let t = walker.nextNode(); t && !rect; t = walker.nextNode()) {
        const at = t.data.search(/\S/);
        if (at >= 0 && !skipped(t, el)) rect = charRect(el.ownerDocument, t, at);
      }
    }
    if (!rect) rect = el.getBoundingClientRect();
    if (rect.width <= 0 || rect.height <= 0) return null;
    const origin = offsetOf(el.ownerDocument);
    return [origin[0] + rect.left + rect.width / 2, origin[1] + rect.top + rect.height / 2];
  }
  // The characters of an element's text with white space runs as one
  // space, each with the text node and offset it came from.
  function characters(el) {
    const chars = [], where = [];
    let space = true;
    const walker = el.ownerDocument.createTreeWalker(el, NodeFilter.SHOW_TEXT);
    for (let t = walker.nextNode(); t; t = walker.nextNode()) {
      if (skipped(t, el)) continue;
      for (let i = 0; i < t.data.length; i++) {
        const white = /\s/.test(t.data[i]);
        if (white && space) continue;
        chars.push(white ? ' ' : t.data[i]);
        where.push([t, i]);
        space = white;
      }
    }
    return {text: chars.join(''), where: where};
  }
  // Where a drag from the first to the last character of `wanted` starts
  // and ends; the occurrence nearest `hint` (in the same collapsed text).
  function dragOver(id, wanted, hint) {
    const el = element(id);
    if (!el) return null;
    const target = wanted.replace(/\s+/g, ' ').trim();
    const all = characters(el);
    let best = -1;
    for (let at = all.text.indexOf(target); target && at >= 0; at = all.text.indexOf(target, at + 1))
      if (best < 0 || Math.abs(at - hint) < Math.abs(best - hint)) best = at;
    if (best < 0) return null;
    el.scrollIntoView({block: 'nearest', inline: 'nearest'});
    const first = all.where[best], last = all.where[best + target.length - 1];
    const a = charRect(el.ownerDocument, first[0], first[1]);
    const b = charRect(el.ownerDocument, last[0], last[1]);
    if (!a || !b) return null;
    const origin = offsetOf(el.ownerDocument);
    return [origin[0] + a.left + Math.min(1, a.width / 4), origin[1] + a.top + a.height / 2,
            origin[0] + b.right - Math.min(1, b.width / 4), origin[1] + b.top + b.height / 2];
  }
  function selectedText() {
    const parts = [];
    (function collect(doc) {
      const sel = doc.defaultView && doc.defaultView.getSelection();
      if (sel && !sel.isCollapsed) parts.push(sel.toString());
      for (const el of doc.querySelectorAll('iframe,frame')) {
        const inner = frameDocument(el);
        if (inner) collect(inner);
      }
    })(document);
    return parts.join('').replace(/\s+/g, ' ').trim();
  }
  function unselect(doc) {
    const sel = doc.defaultView && doc.defaultView.getSelection();
    if (sel) sel.removeAllRanges();
    for (const el of doc.querySelectorAll('iframe,frame')) {
      const inner = frameDocument(el);
      if (inner) unselect(inner);
    }
    return true;
  }
  // Focus for the keyboard, with the control's text selected so that
  // typing replaces it.
  function focusControl(id) {
    const el = element(id);
    if (!el) return false;
    el.scrollIntoView({block: 'nearest', inline: 'nearest'});
    el.focus();
    if (typeof el.select === 'function') el.select();
    return el.ownerDocument.activeElement === el;
  }
  function control(id) {
    const el = element(id);
    return el ? [el.value === undefined ? '' : String(el.value), el.checked ? 1 : 0] : null;
  }
  // A list's options chosen as the user's pick: exactly these values.
  function choose(id, values) {
    const el = element(id);
    if (!el || el.localName !== 'select') return false;
    el.focus();
    for (const option of el.options) option.selected = values.includes(option.value);
    fire(el, 'input');
    fire(el, 'change');
    return true;
  }
  watch(document);
  window.kestroBridge = {
    snapshot: function () { dirty = false; return JSON.stringify(snapshot(document)); },
    apply: function (writes) { return apply(writes); },
    state: function () { return JSON.stringify(state({i: INSTANCE})); },
    painted: function () { return painted; },
    pointAt: pointAt,
    dragOver: dragOver,
    selectedText: selectedText,
    unselect: function () { return unselect(document); },
    focusControl: focusControl,
    control: control,
    choose: choose,
  };
})();
)JS";

}  // namespace

QString NewBridgeToken() {
    QString token = QStringLiteral("kestro:");
    for (int i = 0; i < 4; ++i)
        token += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0');
    return token + QLatin1Char(':');
}

QString BridgeScriptSource(const QString& token) {
    QString source = QString::fromUtf8(kBridge);
    source.replace(QStringLiteral("@TOKEN@"), token);
    return source;
}

QString ApplyWritesScript(const QString& writesJson) {
    return QStringLiteral("window.kestroBridge ? JSON.stringify(window.kestroBridge.apply(") +
           writesJson + QStringLiteral(")) : '[]'");
}

QString SnapshotScript() {
    return QStringLiteral("window.kestroBridge ? window.kestroBridge.snapshot() : ''");
}

QString StateScript() {
    return QStringLiteral("window.kestroBridge ? window.kestroBridge.state() : ''");
}

QString BridgeCallScript(const char* function, const QJsonArray& arguments) {
    const QString list = QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
    return QStringLiteral(
               "window.kestroBridge ? JSON.stringify(window.kestroBridge.%1(...%2)) : "
               "'null'")
        .arg(QLatin1String(function), list);
}

}  // namespace webengine
