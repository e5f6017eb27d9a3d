// The description editor's side of the page. It runs in the application's own script world:
// the page's scripts are switched off and never see it. It places documents, answers the
// editor's questions and pushes the command states over the web channel once per frame.
(function () {
    'use strict';

    let bridge = null;
    let baseline = null;  // the BODY as last set, for the dirty test, serialised when first asked
    let baselineSource = '';
    let waiting = [];     // work for when the channel is up
    let doctype = '';
    let pending = false;
    let typed = false;
    let placed = false;   // a document was placed and has no caret yet

    // Commands whose state the browser keeps (latched when on).
    const STATES = {
        5000: 'bold', 5023: 'italic', 5048: 'underline', 5030: 'insertOrderedList',
        5051: 'insertUnorderedList', 5024: 'justifyCenter', 5025: 'justifyLeft', 5026: 'justifyRight'
    };
    // Commands that the browser runs as they are.
    const PLAIN = {
        5000: 'bold', 5023: 'italic', 5048: 'underline', 5030: 'insertOrderedList',
        5051: 'insertUnorderedList', 5024: 'justifyCenter', 5025: 'justifyLeft', 5026: 'justifyRight',
        5018: 'indent', 5031: 'outdent', 5034: 'removeFormat', 5035: 'selectAll', 5004: 'delete', 5050: 'unlink'
    };
    // Commands that need their argument.
    const WITH_ARGUMENT = {
        5046: 'foreColor', 5042: 'hiliteColor', 5044: 'fontName', 5045: 'fontSize', 5016: 'createLink',
        5017: 'insertImage'
    };
    const ALWAYS = [5018, 5031, 5034, 5035, 5042, 5043, 5044, 5045, 5046, 5016, 5017, 5032, 5008, 5009];
    const CELL_COMMANDS = [5005, 5006, 5007, 5019, 5020, 5021, 5029, 5047];
    // Cell commands that any cell takes; merging and splitting depend on the cells.
    const ANY_CELL = [5005, 5006, 5007, 5019, 5020, 5021];
    const BLOCK_TAGS = ['P', 'PRE', 'ADDRESS', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'OL', 'UL', 'DIR', 'MENU', 'DT', 'DD'];
    const LIST_TAGS = ['OL', 'UL', 'DIR', 'MENU'];
    // Elements before which the parser closes an open paragraph.
    const BLOCKS = ['ADDRESS', 'ARTICLE', 'ASIDE', 'BLOCKQUOTE', 'CENTER', 'DIR', 'DIV', 'DL', 'FIELDSET', 'FIGURE',
                    'FOOTER', 'FORM', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'HEADER', 'HR', 'MAIN', 'MENU', 'NAV', 'OL',
                    'P', 'PRE', 'SECTION', 'TABLE', 'UL'];
    // Blocks that hold text only.
    const PARAGRAPHS = ['P', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'PRE'];
    // What is content without any text.
    const CONTENT = 'img, hr, table, input, select, textarea, iframe, object, embed, video, audio, canvas, svg';
    // HTML font sizes 1 to 7 in pixels at the default size.
    const LEGACY_SIZES = [10, 13, 16, 18, 24, 32, 48];
    // Beyond this many text nodes a selection's formatting is judged on its start.
    const SAMPLE = 4000;

    function messageOf(error) {
        return String(error && error.message ? error.message : error);
    }

    function range() {
        const selection = getSelection();
        return selection.rangeCount ? selection.getRangeAt(0) : null;
    }

    function elementOf(node) {
        return node && node.nodeType === Node.ELEMENT_NODE ? node : node ? node.parentElement : null;
    }

    function inBody(node) {
        return !!(node && document.body && document.body.contains(node));
    }

    // The text nodes the selection covers, or the caret's element.
    function covered(r) {
        if (r.collapsed)
            return [elementOf(r.startContainer)];
        let start = r.startContainer;
        if (start.nodeType !== Node.TEXT_NODE)
            start = start.childNodes[r.startOffset] || start;
        const walker = document.createTreeWalker(r.commonAncestorContainer, NodeFilter.SHOW_TEXT);
        const elements = new Set();
        let node = start.nodeType === Node.TEXT_NODE ? start : null;
        walker.currentNode = start;
        if (!node)
            node = walker.nextNode();
        let seen = 0;
        while (node && seen < SAMPLE) {
            if (r.comparePoint(node, 0) > 0)
                break;
            if (node.data.trim() && r.intersectsNode(node))
                elements.add(node.parentElement);
            ++seen;
            node = walker.nextNode();
        }
        return elements.size ? Array.from(elements) : [elementOf(r.startContainer)];
    }

    function hex(css) {
        const parts = css.match(/\d+(\.\d+)?/g);
        if (!parts || parts.length < 3)
            return '#000000';
        return '#' + parts.slice(0, 3).map(p => Number(p).toString(16).padStart(2, '0')).join('').toUpperCase();
    }

    function background(element) {
        for (let e = element; e; e = e.parentElement) {
            const colour = getComputedStyle(e).backgroundColor;
            const parts = colour.match(/[\d.]+/g);
            if (parts && (parts.length < 4 || Number(parts[3]) > 0))
                return hex(colour);
        }
        return '#FFFFFF';
    }

    function legacySize(element) {
        const px = parseFloat(getComputedStyle(element).fontSize);
        let best = 0;
        for (let i = 1; i < LEGACY_SIZES.length; ++i) {
            if (Math.abs(LEGACY_SIZES[i] - px) < Math.abs(LEGACY_SIZES[best] - px))
                best = i;
        }
        return best + 1;
    }

    function fontName(element) {
        return getComputedStyle(element).fontFamily.split(',')[0].trim().replace(/^["']|["']$/g, '');
    }

    function nearest(node, tags) {
        for (let e = elementOf(node); e && e !== document.body; e = e.parentElement) {
            if (tags.includes(e.tagName))
                return e;
        }
        return null;
    }

    function cellAt(node) {
        const cell = nearest(node, ['TD', 'TH']);
        return cell && cell.closest('table') ? cell : null;
    }

    // One value for every covered element, or the start's value and a mixed mark.
    function valueOver(elements, read) {
        const first = read(elements[0]);
        return {value: first, mixed: elements.some(e => read(e) !== first)};
    }

    function state() {
        const statuses = {};
        const values = {};
        const r = range();
        const editable = !!(r && inBody(r.startContainer) && inBody(r.endContainer));
        const set = (command, status) => { statuses[command] = status; };
        for (const command of ALWAYS)
            set(command, editable ? 3 : 1);
        for (const [command, name] of Object.entries(STATES))
            set(command, editable ? (document.queryCommandState(name) ? 7 : 3) : 1);
        set(5002, editable && !r.collapsed ? 3 : 1);
        set(5003, editable && !r.collapsed ? 3 : 1);
        set(5004, editable && !r.collapsed ? 3 : 1);
        set(5049, editable && document.queryCommandEnabled('undo') ? 3 : 1);
        set(5033, editable && document.queryCommandEnabled('redo') ? 3 : 1);
        set(5050, editable && (nearest(r.startContainer, ['A']) || nearest(r.endContainer, ['A'])) ? 3 : 1);
        const cells = editable ? cellStates(r) : {};
        for (const command of ANY_CELL)
            set(command, cells.inCell ? 3 : 1);
        set(5029, cells.merge ? 3 : 1);
        set(5047, cells.split ? 3 : 1);
        if (editable) {
            const elements = covered(r);
            const read = [[5013, fontName], [5014, legacySize], [5015, e => hex(getComputedStyle(e).color)],
                          [5010, background]];
            for (const [command, reader] of read) {
                const answer = valueOver(elements, reader);
                values[command] = answer.value;
                set(command, answer.mixed ? 11 : 3);
            }
            const startBlock = nearest(r.startContainer, BLOCK_TAGS);
            const endBlock = nearest(r.endContainer, BLOCK_TAGS);
            const tagOf = block => block ? block.tagName : 'P';
            values[5011] = tagOf(startBlock);
            set(5011, tagOf(startBlock) === tagOf(endBlock) ? 3 : 11);
        } else {
            for (const command of [5010, 5011, 5013, 5014, 5015])
                set(command, 1);
        }
        return {s: statuses, v: values};
    }

    // A document just placed has no caret yet; commands and states need one.
    function ensureCaret() {
        const r = range();
        if (!r || !inBody(r.startContainer))
            caretInto(document.body);
    }

    function push() {
        pending = false;
        if (!bridge)
            return;
        // Only a new document is given a caret: the browser's Find takes the selection away
        // while it searches, and searches on from wherever the selection is.
        if (placed)
            ensureCaret();
        placed = false;
        const wasTyped = typed;
        typed = false;
        bridge.Report(state(), wasTyped);
    }

    function flush() {
        if (pending)
            push();
    }

    // Caret moves and typing come in bursts: one report per frame. A hidden page draws no
    // frames, so it reports at the end of the current task instead, a frame asked for before
    // it was hidden included.
    function schedule() {
        if (document.visibilityState === 'hidden') {
            pending = true;
            Promise.resolve().then(flush);
            return;
        }
        if (pending)
            return;
        pending = true;
        requestAnimationFrame(flush);
    }

    // Our own edits (table cells, pasted fragments, table attributes, lists lifted and renamed)
    // change the document directly, which the browser's undo stack does not see. Each is
    // journalled and leaves one character, typed through the browser, in a hidden editable of
    // ours outside BODY: the browser's stack then holds a step for it in its place among the
    // user's typing, and when the browser undoes or redoes that step, the edit is undone or
    // redone with it.
    const MARK = '\ue000';
    const WATCH = {
        subtree: true, childList: true, attributes: true, attributeOldValue: true, characterData: true,
        characterDataOldValue: true
    };
    let marks = null;
    let edits = [];  // edits[i] goes with the marks' character i
    let steps = 0;   // the steps made on the browser's undo list: its commands' and our edits'
    // The browser keeps this many steps; the edits before them can no longer be undone.
    const UNDO_DEPTH = 1000;

    function marksElement() {
        if (marks && marks.isConnected)
            return marks;
        marks = document.createElement('div');
        marks.contentEditable = 'true';
        marks.tabIndex = -1;
        marks.setAttribute('aria-hidden', 'true');
        // Drawn, as the browser edits nothing it does not draw, but out of sight whatever the
        // document's style sheet says of DIV elements.
        marks.style.cssText = 'display: block !important; visibility: visible !important; ' +
                              'position: fixed !important; left: -10000px !important; top: 0 !important; ' +
                              'width: 1px !important; height: 1px !important; overflow: hidden !important; ' +
                              'opacity: 0 !important; pointer-events: none !important';
        document.documentElement.appendChild(marks);
        edits = [];
        return marks;
    }

    function points() {
        const selection = getSelection();
        return selection.rangeCount
                   ? [selection.anchorNode, selection.anchorOffset, selection.focusNode, selection.focusOffset]
                   : null;
    }

    function restore(at) {
        if (document.activeElement !== document.body)
            document.body.focus({preventScroll: true});
        try {
            if (at && inBody(at[0]) && inBody(at[2])) {
                getSelection().setBaseAndExtent(...at);
                return;
            }
        } catch (error) {
            // An offset past its node's end: the caret goes to the start.
        }
        caretInto(document.body);
    }

    function valueOf(entry) {
        return entry.type === 'characterData' ? entry.target.data : entry.target.getAttributeNS(entry.ns, entry.name);
    }

    function put(entry, value) {
        if (entry.type === 'characterData')
            entry.target.data = value;
        else if (value === null)
            entry.target.removeAttributeNS(entry.ns, entry.name);
        else
            entry.target.setAttributeNS(entry.ns, entry.name, value);
    }

    // The observer's records with the value each change wrote: the old value of the next
    // change of the same text or attribute, or the present one.
    function journal(records) {
        const latest = new Map();
        const entries = records.map(record => {
            const entry = {
                type: record.type, target: record.target, name: record.attributeName, ns: record.attributeNamespace,
                old: record.oldValue, added: Array.from(record.addedNodes), removed: Array.from(record.removedNodes),
                next: record.nextSibling
            };
            if (record.type !== 'childList') {
                const key = record.type === 'characterData' ? '' : (entry.ns || '') + ' ' + entry.name;
                let ofTarget = latest.get(entry.target);
                if (!ofTarget)
                    latest.set(entry.target, ofTarget = new Map());
                if (ofTarget.has(key))
                    ofTarget.get(key).value = entry.old;
                ofTarget.set(key, entry);
            }
            return entry;
        });
        for (const ofTarget of latest.values()) {
            for (const entry of ofTarget.values())
                entry.value = valueOf(entry);
        }
        return entries;
    }

    // The changes made again, or taken back from the last: each in the state it left, so that
    // its neighbours are where it saw them. All or nothing: a change that no longer fits a page
    // changed by other means takes back those made before it.
    function replayed(entries, back) {
        const observer = new MutationObserver(() => {});
        observer.observe(document, WATCH);
        try {
            for (const entry of back ? entries.slice().reverse() : entries) {
                if (entry.type !== 'childList') {
                    put(entry, back ? entry.old : entry.value);
                    continue;
                }
                for (const node of back ? entry.added : entry.removed)
                    node.remove();
                for (const node of back ? entry.removed : entry.added)
                    entry.target.insertBefore(node, entry.next);
            }
        } catch (error) {
            const made = journal(observer.takeRecords());
            observer.disconnect();
            backward(made);
            throw error;
        }
        observer.disconnect();
    }

    function backward(entries) {
        replayed(entries, true);
    }

    function forward(entries) {
        replayed(entries, false);
    }

    // The mark of a new edit; false when the browser would not take it.
    function mark() {
        const holder = marksElement();
        const count = holder.textContent.length;
        const keep = points();
        const end = document.createRange();
        end.selectNodeContents(holder);
        end.collapse(false);
        getSelection().removeAllRanges();
        getSelection().addRange(end);
        const done = document.execCommand('insertHTML', false, MARK) && holder.textContent.length === count + 1;
        restore(keep);
        return done ? count : -1;
    }

    // Runs `work` as one step the user can undo, and answers its result; an edit that fails
    // halfway leaves nothing. The journal sees no change inside a node out of the page: nodes
    // of the page are moved to a place in it, never into a new node not yet placed.
    function edit(work) {
        const before = points();
        const observer = new MutationObserver(() => {});
        observer.observe(document, WATCH);
        let result;
        try {
            result = work();
        } catch (error) {
            backward(journal(observer.takeRecords()));
            observer.disconnect();
            restore(before);
            throw error;
        }
        const entries = journal(observer.takeRecords());
        observer.disconnect();
        if (!entries.length)
            return result;
        const after = points();
        const at = mark();
        if (at < 0) {
            backward(entries);
            restore(before);
            throw new Error('The browser did not take the edit into its undo list.');
        }
        edits.length = at;
        edits.push({entries, before, after});
        ++steps;
        if (edits.length > UNDO_DEPTH)
            edits[edits.length - UNDO_DEPTH - 1] = null;
        typed = true;
        schedule();
        return result;
    }

    // A command of the browser's, which makes a step on its undo list when it changes the page.
    // False when the browser would not run it.
    function browserCommand(name, value) {
        const observer = new MutationObserver(() => {});
        observer.observe(document.body, WATCH);
        const done = document.execCommand(name, false, value);
        steps += observer.takeRecords().length ? 1 : 0;
        observer.disconnect();
        return done;
    }

    // Browser commands and edits of ours, run by `work` in turn, as one step the user can undo:
    // each made a step of its own, which the browser takes back for all to be made again as one
    // edit. Should the page not come out as they left it, their steps are made again instead, to
    // be undone one by one. A `work` that fails leaves nothing.
    function oneStep(work) {
        const first = steps;
        const observer = new MutationObserver(() => {});
        observer.observe(document.body, WATCH);
        try {
            work();
        } catch (error) {
            observer.disconnect();
            for (let i = first; i < steps; ++i)
                document.execCommand('undo');
            throw error;
        }
        const entries = journal(observer.takeRecords());
        observer.disconnect();
        const made = steps - first;
        if (made < 2)
            return;
        const after = points();
        const left = document.body.innerHTML;
        for (let i = 0; i < made; ++i)
            document.execCommand('undo');
        try {
            edit(() => {
                forward(entries);
                if (document.body.innerHTML !== left)
                    throw new Error('The page did not come back as the commands left it.');
                restore(after);
            });
        } catch (error) {
            for (let i = 0; i < made; ++i)
                document.execCommand('redo');
        }
    }

    // The browser undid or redid one of our marks. An edit that no longer fits the page is left
    // as it is, and the program told why.
    function replay(kind) {
        const count = marks.textContent.length;
        try {
            if (kind === 'historyUndo' && edits[count]) {
                backward(edits[count].entries);
                restore(edits[count].before);
            } else if (kind === 'historyRedo' && edits[count - 1]) {
                forward(edits[count - 1].entries);
                restore(edits[count - 1].after);
            }
        } catch (error) {
            if (bridge)
                bridge.Fail((kind === 'historyUndo' ? 'Undo: ' : 'Redo: ') + messageOf(error));
        }
    }

    // The element with another tag name, its attributes, children and the selection kept.
    function rename(element, tag) {
        const at = points();
        const replacement = document.createElement(tag);
        for (const attribute of Array.from(element.attributes))
            replacement.setAttribute(attribute.name, attribute.value);
        element.before(replacement);
        while (element.firstChild)
            replacement.appendChild(element.firstChild);
        element.remove();
        if (at) {
            const map = node => node === element ? replacement : node;
            getSelection().setBaseAndExtent(map(at[0]), at[1], map(at[2]), at[3]);
        }
        return replacement;
    }

    // Moves `work`'s DOM changes past the selection: a node taken out and put back elsewhere
    // would otherwise drop the caret.
    function keepingSelection(work) {
        const at = points();
        work();
        if (at && at[0].isConnected && at[2].isConnected)
            getSelection().setBaseAndExtent(...at);
    }

    // The browser makes a list inside the paragraph it was in, which no parser reads back so:
    // the list is lifted out, the paragraph split around it and its empty parts dropped.
    function liftLists() {
        const nested = document.body.querySelectorAll(
            ':is(p, h1, h2, h3, h4, h5, h6, pre, address) > :is(ol, ul, dir, menu)');
        if (!nested.length)
            return;
        keepingSelection(() => {
            for (const list of nested) {
                const holder = list.parentElement;
                const after = holder.cloneNode(false);
                holder.after(after);
                while (list.nextSibling)
                    after.appendChild(list.nextSibling);
                holder.after(list);
                for (const part of [holder, after]) {
                    if (!part.textContent.trim() && !part.querySelector('img, table, hr'))
                        part.remove();
                }
            }
        });
    }

    function currentList() {
        const r = range();
        return r ? nearest(r.startContainer, LIST_TAGS) : null;
    }

    // Run inside oneStep(): our changes between the browser's commands are edits of their own.
    function setBlock(tag) {
        const list = currentList();
        if (LIST_TAGS.includes(tag)) {
            if (list) {
                if (list.tagName !== tag)
                    edit(() => rename(list, tag));
                return;
            }
            browserCommand(tag === 'OL' ? 'insertOrderedList' : 'insertUnorderedList');
            // The browser makes no directory or menu lists: it makes a bulleted one, renamed.
            const made = currentList();
            if (made && made.tagName !== tag && tag !== 'OL')
                edit(() => rename(made, tag));
            return;
        }
        if (list) {
            const plain = ['OL', 'UL'].includes(list.tagName) ? list : edit(() => rename(list, 'UL'));
            browserCommand(plain.tagName === 'OL' ? 'insertOrderedList' : 'insertUnorderedList');
        }
        browserCommand('formatBlock', tag);
    }

    // Table cells as the browser lays them out: a grid of the table's own rows, in the order
    // the browser shows them, each cell at its first row and column with its spans. A row span
    // ends with its row group, and a span of 0 reaches its end, as the browser has it.
    function grid(table) {
        const rows = Array.from(table.rows);
        const groupEnd = new Array(rows.length);
        for (let y = rows.length - 1; y >= 0; --y) {
            const sameGroup = y + 1 < rows.length && rows[y + 1].parentNode === rows[y].parentNode;
            groupEnd[y] = sameGroup ? groupEnd[y + 1] : y;
        }
        const slots = rows.map(() => []);
        const byRow = rows.map(() => []);
        const cells = [];
        const of = new Map();
        for (let y = 0; y < rows.length; ++y) {
            let x = 0;
            for (const el of rows[y].cells) {
                while (slots[y][x])
                    ++x;
                const left = groupEnd[y] - y + 1;
                const rs = el.rowSpan === 0 || el.rowSpan > left ? left : el.rowSpan;
                const cell = {el, y, x, rs, cs: el.colSpan};
                cells.push(cell);
                byRow[y].push(cell);
                of.set(el, cell);
                // Overlapping cells keep the slots of the first, as the browser draws them.
                for (let dy = 0; dy < rs; ++dy) {
                    for (let dx = 0; dx < cell.cs; ++dx)
                        slots[y + dy][x + dx] = slots[y + dy][x + dx] || cell;
                }
                x += cell.cs;
            }
        }
        return {table, rows, groupEnd, slots, byRow, cells, of};
    }

    function bottomOf(cell) {
        return cell.y + cell.rs - 1;
    }

    function rightOf(cell) {
        return cell.x + cell.cs - 1;
    }

    // The rectangle of the grid that the cells reach.
    function extent(cells) {
        return {
            top: Math.min(...cells.map(c => c.y)), left: Math.min(...cells.map(c => c.x)),
            bottom: Math.max(...cells.map(bottomOf)), right: Math.max(...cells.map(rightOf))
        };
    }

    // The rows, or columns, that the selected cells start in: a cell spanning others counts as
    // in its first row and column alone, and the others keep their cells.
    function starts(cells) {
        return extent(cells.map(c => ({x: c.x, y: c.y, rs: 1, cs: 1})));
    }

    // Puts `node` in row y before the first cell of that row at grid column x or beyond.
    function insertCell(model, y, x, node, cell) {
        const row = model.byRow[y];
        const at = row.findIndex(c => c.x >= x);
        if (at < 0)
            model.rows[y].appendChild(node);
        else
            model.rows[y].insertBefore(node, row[at].el);
        if (cell)
            row.splice(at < 0 ? row.length : at, 0, cell);
    }

    function setSpan(el, name, value) {
        if (value > 1)
            el.setAttribute(name, String(value));
        else
            el.removeAttribute(name);
    }

    function newCell(tag) {
        const cell = document.createElement(tag === 'TH' ? 'th' : 'td');
        cell.innerHTML = '&nbsp;';
        return cell;
    }

    function caretInto(node) {
        if (!node || !inBody(node))
            return;
        const r = document.createRange();
        r.selectNodeContents(node);
        r.collapse(true);
        getSelection().removeAllRanges();
        getSelection().addRange(r);
    }

    function caretAt(parent, offset) {
        const r = document.createRange();
        r.setStart(parent, Math.min(offset, parent.childNodes.length));
        getSelection().removeAllRanges();
        getSelection().addRange(r);
    }

    // True when the selection ending at (node, offset) takes nothing of `cell`, whose start it
    // just reaches, as a selection dragged to the start of the next cell does.
    function endsAtStart(cell, node, offset) {
        const before = document.createRange();
        before.setStart(cell, 0);
        before.setEnd(node, offset);
        return !before.toString() && !before.cloneContents().querySelector(CONTENT);
    }

    // The cells a command works on: the caret's cell, or the cells the selection takes of the
    // innermost table holding both its ends, in document order. `model` is made when asked for,
    // as a caret in a cell needs none for its states.
    function cellSelection(r, withModel) {
        const start = cellAt(r.startContainer);
        if (!start)
            return null;
        let first = start;
        let table = first.closest('table');
        if (!r.collapsed) {
            while (first && !table.contains(r.endContainer)) {
                first = cellAt(table.parentNode);
                table = first && first.closest('table');
            }
        }
        if (!first || r.collapsed || first.contains(r.endContainer)) {
            first = first || start;
            table = first.closest('table');
            return {table, first, model: withModel ? grid(table) : null, els: [first]};
        }
        let last = cellAt(r.endContainer);
        while (last && last.closest('table') !== table)
            last = cellAt(last.closest('table').parentNode);
        const model = grid(table);
        if (!last)
            return {table, first, model, els: [first]};
        const els = model.cells.map(c => c.el).filter(
            el => el === first || el === last ||
                  ((first.compareDocumentPosition(el) & Node.DOCUMENT_POSITION_FOLLOWING) &&
                   (last.compareDocumentPosition(el) & Node.DOCUMENT_POSITION_PRECEDING)));
        els.sort((a, b) => a.compareDocumentPosition(b) & Node.DOCUMENT_POSITION_FOLLOWING ? -1 : 1);
        if (els.length > 1 && endsAtStart(last, r.endContainer, r.endOffset))
            els.pop();
        return {table, first, model, els};
    }

    function selectedCells(selection) {
        const model = selection.model || (selection.model = grid(selection.table));
        return selection.els.map(el => model.of.get(el)).filter(c => c);
    }

    // The rows a cell's row span reaches in its group, without the grid: the caret's states
    // are read on every move.
    function spans(cell) {
        if (cell.colSpan > 1)
            return true;
        let left = 1;
        for (let row = cell.parentElement.nextElementSibling; row && left < 2; row = row.nextElementSibling)
            left += row.tagName === 'TR' ? 1 : 0;
        return left > 1 && (cell.rowSpan === 0 || cell.rowSpan > 1);
    }

    // Two or more cells of one row group that fill a rectangle of the grid.
    function mergeable(cells) {
        if (cells.length < 2 || cells.some(c => c.el.parentNode.parentNode !== cells[0].el.parentNode.parentNode))
            return false;
        const {top, left, bottom, right} = extent(cells);
        const area = cells.reduce((sum, c) => sum + c.rs * c.cs, 0);
        return area === (bottom - top + 1) * (right - left + 1);
    }

    function cellStates(r) {
        const selection = cellSelection(r, false);
        if (!selection)
            return {inCell: false, merge: false, split: false};
        if (selection.els.length === 1)
            return {inCell: true, merge: false, split: spans(selection.first)};
        return {inCell: true, merge: mergeable(selectedCells(selection)), split: false};
    }

    // The rows, emptied by a command, go; the row spans crossing them shrink. Rows that were
    // empty before stay as they were.
    function dropEmptiedRows(table, hadCells) {
        const model = grid(table);
        const gone = new Set(model.rows.filter(row => !row.cells.length && hadCells.has(row)));
        if (!gone.size)
            return;
        for (const cell of model.cells) {
            let crossed = 0;
            for (let y = cell.y + 1; y <= bottomOf(cell); ++y)
                crossed += gone.has(model.rows[y]) ? 1 : 0;
            if (crossed)
                setSpan(cell.el, 'rowspan', cell.rs - crossed);
        }
        for (const row of gone) {
            const group = row.parentNode;
            row.remove();
            if (group !== table && !group.querySelector('tr'))
                group.remove();
        }
    }

    // A table left without cells goes, the caret where it was.
    function dropIfEmpty(table) {
        if (table.querySelector('td, th') && Array.from(table.rows).some(row => row.cells.length))
            return false;
        const parent = table.parentNode;
        const at = Array.prototype.indexOf.call(parent.childNodes, table);
        table.remove();
        caretAt(parent, at);
        return true;
    }

    function rowsWithCells(table) {
        return new Set(Array.from(table.rows).filter(row => row.cells.length));
    }

    function blank(el) {
        return !el.textContent.replace(/[\s\u00a0]/g, '') && !el.querySelector(CONTENT);
    }

    function isBlock(node) {
        return !!node && node.nodeType === Node.ELEMENT_NODE && BLOCKS.includes(node.tagName);
    }

    // A line break between two parts that would otherwise run together.
    function joinInto(first, other) {
        if (!blank(first) && !blank(other) && !isBlock(first.lastChild) && !isBlock(other.firstChild))
            first.appendChild(document.createElement('br'));
        while (other.firstChild)
            first.appendChild(other.firstChild);
    }

    function insertRow(selection) {
        const cells = selectedCells(selection);
        const model = selection.model;
        const y = starts(cells).bottom;
        // A span the browser ends with the group would reach into the new row: it is written as
        // drawn.
        for (const cell of model.cells) {
            if (cell.el.rowSpan !== cell.rs && bottomOf(cell) <= y && model.groupEnd[cell.y] === model.groupEnd[y])
                setSpan(cell.el, 'rowspan', cell.rs);
        }
        const row = model.rows[y];
        const fresh = row.cloneNode(false);
        fresh.removeAttribute('id');
        for (let x = 0; x < model.slots[y].length;) {
            const above = model.slots[y][x];
            if (!above) {
                fresh.appendChild(newCell('TD'));
                ++x;
                continue;
            }
            if (bottomOf(above) > y) {
                if (above.x === x)
                    setSpan(above.el, 'rowspan', above.rs + 1);
            } else {
                const cell = newCell(above.el.tagName);
                setSpan(cell, 'colspan', above.x + above.cs - x);
                fresh.appendChild(cell);
            }
            x = above.x + above.cs;
        }
        row.after(fresh);
    }

    function insertColumn(selection) {
        const cells = selectedCells(selection);
        const model = selection.model;
        const x = starts(cells).right;
        const widened = new Set();
        for (let y = 0; y < model.rows.length; ++y) {
            const left = model.slots[y][x];
            if (left && rightOf(left) > x) {
                if (!widened.has(left))
                    setSpan(left.el, 'colspan', left.cs + 1);
                widened.add(left);
                continue;
            }
            // A cell spanning rows is given one new cell as tall, in its own first row; a row
            // that does not reach the column gets none.
            if ((left && left.y !== y) || (!left && model.slots[y].length <= x))
                continue;
            const cell = newCell(left ? left.el.tagName : 'TD');
            setSpan(cell, 'rowspan', left ? left.rs : 1);
            insertCell(model, y, x + 1, cell);
        }
    }

    function deleteRows(selection) {
        const cells = selectedCells(selection);
        const model = selection.model;
        const {top, bottom} = starts(cells);
        const hadCells = rowsWithCells(model.table);
        const column = cells[0].x;
        for (const cell of model.cells) {
            const end = bottomOf(cell);
            if (end < top || cell.y > bottom || (cell.y >= top && end <= bottom))
                continue;
            setSpan(cell.el, 'rowspan', cell.rs - (Math.min(end, bottom) - Math.max(cell.y, top) + 1));
            // A cell from a deleted row that reaches below it moves down, its content with it.
            if (cell.y >= top)
                insertCell(model, bottom + 1, cell.x, cell.el, {el: cell.el, x: cell.x});
        }
        const nextY = bottom + 1 < model.rows.length ? bottom + 1 : top - 1;
        const next = nextY >= 0 ? model.slots[nextY][column] : null;
        for (let y = top; y <= bottom; ++y)
            model.rows[y].remove();
        for (const group of Array.from(model.table.tBodies).concat([model.table.tHead, model.table.tFoot])) {
            if (group && !group.querySelector('tr'))
                group.remove();
        }
        dropEmptiedRows(model.table, hadCells);
        if (!dropIfEmpty(model.table))
            caretInto(next && next.el.isConnected ? next.el : model.table.querySelector('td, th'));
    }

    function deleteColumns(selection) {
        const cells = selectedCells(selection);
        const model = selection.model;
        const {left, right} = starts(cells);
        const hadCells = rowsWithCells(model.table);
        for (const cell of model.cells) {
            const overlap = Math.min(rightOf(cell), right) - Math.max(cell.x, left) + 1;
            if (overlap <= 0)
                continue;
            if (overlap === cell.cs)
                cell.el.remove();
            else
                setSpan(cell.el, 'colspan', cell.cs - overlap);
        }
        dropEmptiedRows(model.table, hadCells);
        if (!dropIfEmpty(model.table)) {
            const kept = model.byRow[cells[0].y].filter(c => c.el.isConnected);
            const near = kept.find(c => c.x > right) || kept.pop();
            caretInto(near ? near.el : model.table.querySelector('td, th'));
        }
    }

    function deleteCells(selection) {
        const cells = selectedCells(selection);
        const table = selection.table;
        const hadCells = rowsWithCells(table);
        const last = cells[cells.length - 1].el;
        const near = last.nextElementSibling || cells[0].el.previousElementSibling;
        for (const cell of cells)
            cell.el.remove();
        dropEmptiedRows(table, hadCells);
        if (!dropIfEmpty(table))
            caretInto(near && near.isConnected ? near : table.querySelector('td, th'));
    }

    function mergeCells(selection) {
        const cells = selectedCells(selection);
        if (!mergeable(cells))
            throw new Error('The selected cells do not make a rectangle of two cells or more.');
        const {top, left, bottom, right} = extent(cells);
        const first = cells.find(c => c.y === top && c.x === left);
        const hadCells = rowsWithCells(selection.table);
        for (const other of cells) {
            if (other === first)
                continue;
            joinInto(first.el, other.el);
            other.el.remove();
        }
        setSpan(first.el, 'rowspan', bottom - top + 1);
        setSpan(first.el, 'colspan', right - left + 1);
        dropEmptiedRows(selection.table, hadCells);
        caretInto(first.el);
    }

    function splitCell(selection) {
        const cells = selectedCells(selection);
        const cell = cells[0];
        if (cells.length !== 1 || (cell.rs < 2 && cell.cs < 2))
            throw new Error('The cell spans no other cell.');
        const model = selection.model;
        const tag = cell.el.tagName;
        setSpan(cell.el, 'rowspan', 1);
        setSpan(cell.el, 'colspan', 1);
        const fill = count => {
            const cells = document.createDocumentFragment();
            for (let i = 0; i < count; ++i)
                cells.appendChild(newCell(tag));
            return cells;
        };
        cell.el.after(fill(cell.cs - 1));
        for (let y = cell.y + 1; y <= bottomOf(cell); ++y)
            insertCell(model, y, cell.x, fill(cell.cs));
    }

    function cellCommand(command) {
        const r = range();
        const selection = r && cellSelection(r, true);
        if (!selection)
            throw new Error('The caret is not in a table cell.');
        if (!selection.model)
            selection.model = grid(selection.table);
        const commands = {
            5021: insertRow, 5020: insertColumn, 5019: insertCellAfter, 5007: deleteRows, 5006: deleteColumns,
            5005: deleteCells, 5029: mergeCells, 5047: splitCell
        };
        edit(() => commands[command](selection));
    }

    function insertCellAfter(selection) {
        const last = selectedCells(selection).pop();
        last.el.after(newCell(last.el.tagName));
    }

    function run(command, argument) {
        // Run here rather than sent to the page as the menu's would be: the page runs those when
        // it handles input, after a question asked meanwhile would have been answered.
        if (command === 5049 || command === 5033) {
            document.execCommand(command === 5049 ? 'undo' : 'redo');
            return null;
        }
        const plain = PLAIN[command];
        if (plain) {
            oneStep(() => {
                if (!browserCommand(plain))
                    throw new Error('The command is not available here.');
                edit(liftLists);
            });
            return null;
        }
        const named = WITH_ARGUMENT[command];
        if (named) {
            if (!document.execCommand(named, false, String(argument)))
                throw new Error('The command is not available here.');
            return null;
        }
        if (command === 5043) {
            oneStep(() => {
                setBlock(String(argument));
                edit(liftLists);
            });
            return null;
        }
        if (CELL_COMMANDS.includes(command)) {
            cellCommand(command);
            return null;
        }
        throw new Error('The command is not supported.');
    }

    // A refresh to about:blank is not put to the program's navigation check: a stored META
    // refresh is kept switched off under another attribute name and written back as it was.
    const PARKED = 'data-koravel-http-equiv';

    // Attributes keep their order, so the page is written back as it came.
    function renameAttribute(element, from, to) {
        const attributes = Array.from(element.attributes, a => [a.name === from ? to : a.name, a.value]);
        for (const [name] of Array.from(element.attributes, a => [a.name]))
            element.removeAttribute(name);
        for (const [name, value] of attributes)
            element.setAttribute(name, value);
    }

    function park(root) {
        for (const meta of root.querySelectorAll('meta[http-equiv]')) {
            if (meta.getAttribute('http-equiv').trim().toLowerCase() === 'refresh')
                renameAttribute(meta, 'http-equiv', PARKED);
        }
    }

    // A detached copy with parked attributes back in their places.
    function unparked(node) {
        const copy = node.cloneNode(true);
        if (copy.nodeType !== Node.ELEMENT_NODE)
            return copy;
        const parked = Array.from(copy.querySelectorAll('[' + PARKED + ']'));
        if (copy.hasAttribute(PARKED))
            parked.push(copy);
        for (const element of parked)
            renameAttribute(element, PARKED, 'http-equiv');
        return copy;
    }

    function bodyHTML() {
        const body = document.body;
        return body.querySelector('[' + PARKED + ']') ? unparked(body).innerHTML : body.innerHTML;
    }

    function serialise(node) {
        const holder = document.createElement('div');
        holder.appendChild(unparked(node));
        return holder.innerHTML;
    }

    function openTag(element) {
        const shell = element.cloneNode(false);
        if (element === document.body)
            shell.removeAttribute('contenteditable');
        const text = shell.outerHTML;
        return text.slice(0, text.length - element.tagName.length - 3);
    }

    // The whole page as stored: the editing switch on the BODY is ours, not the document's.
    function pageHTML() {
        const root = document.documentElement;
        let text = doctype + openTag(root);
        for (const child of root.childNodes) {
            if (child === marks)
                continue;
            if (child === document.body)
                text += openTag(child) + bodyHTML() + '</body>';
            else
                text += serialise(child);
        }
        return text + '</html>';
    }

    function doctypeOf(parsed) {
        const type = parsed.doctype;
        if (!type)
            return '';
        return '<!DOCTYPE ' + type.name + (type.publicId ? ' PUBLIC "' + type.publicId + '"' : '') +
               (type.systemId ? (type.publicId ? ' "' : ' SYSTEM "') + type.systemId + '"' : '') + '>';
    }

    // The parser never runs scripts; placed in a page whose scripting is off, they never run
    // either, nor do event attributes.
    function place(html, setBody) {
        const parsed = new DOMParser().parseFromString(html, 'text/html');
        doctype = doctypeOf(parsed);
        park(parsed);
        document.replaceChild(document.adoptNode(parsed.documentElement), document.documentElement);
        document.body.contentEditable = 'true';
        marks = null;
        edits = [];
        placed = true;
        baseline = null;
        baselineSource = setBody === null ? html : setBody;
        // The caret and the states need the page laid out, which a long page takes a while to
        // do: they follow with the first frame, and the program has its document meanwhile.
        schedule();
        return true;
    }

    function styleElement() {
        return document.querySelector('style');
    }

    function setStyle(css) {
        let style = styleElement();
        if (!style) {
            style = document.createElement('style');
            document.head.appendChild(style);
        }
        style.textContent = css;
    }

    // Every call answers {r: result} or {e: message}: a failure reaches the program as an error.
    function call(body) {
        try {
            const result = body();
            return {r: result === undefined ? null : result};
        } catch (error) {
            return {e: messageOf(error)};
        }
    }

    function withBridge(work) {
        if (bridge)
            work();
        else
            waiting.push(work);
    }

    // The fragment as written, over the selection or at the caret. A fragment holding blocks
    // goes between the two halves of the paragraph at the caret, which the parser would
    // otherwise close before them when the page is read back.
    function insertFragment(html) {
        const template = document.createElement('template');
        template.innerHTML = html;
        const fragment = template.content;
        park(fragment);
        const nodes = Array.from(fragment.childNodes);
        if (!nodes.length)
            return;
        const r = range().cloneRange();
        r.deleteContents();
        const paragraph = nodes.some(isBlock) ? nearest(r.startContainer, PARAGRAPHS) : null;
        if (paragraph) {
            const tail = document.createRange();
            tail.setStart(r.startContainer, r.startOffset);
            tail.setEnd(paragraph, paragraph.childNodes.length);
            const after = paragraph.cloneNode(false);
            after.removeAttribute('id');
            paragraph.after(after);
            after.appendChild(tail.extractContents());
            after.before(fragment);
            for (const half of [paragraph, after]) {
                if (!half.textContent && !half.querySelector(CONTENT + ', br'))
                    half.remove();
            }
        } else {
            r.insertNode(fragment);
        }
        const caret = document.createRange();
        caret.setStartAfter(nodes[nodes.length - 1]);
        getSelection().removeAllRanges();
        getSelection().addRange(caret);
    }

    // The fragment where the selection starts. A selection keeps what it held, from just after
    // the fragment: the range kept is live, so it follows the nodes the insertion splits.
    function insertAtStart(html) {
        const kept = range().cloneRange();
        const start = kept.cloneRange();
        start.collapse(true);
        getSelection().removeAllRanges();
        getSelection().addRange(start);
        insertFragment(html);
        if (kept.collapsed)
            return;
        const after = range();
        kept.setStart(after.startContainer, after.startOffset);
        getSelection().removeAllRanges();
        getSelection().addRange(kept);
    }

    function contains(r, node) {
        const whole = document.createRange();
        whole.selectNode(node);
        return r.compareBoundaryPoints(Range.START_TO_START, whole) <= 0 &&
               r.compareBoundaryPoints(Range.END_TO_END, whole) >= 0;
    }

    function blankRange(r) {
        return !r.toString().replace(/[\s\u00a0]/g, '') && !r.cloneContents().querySelector(CONTENT);
    }

    // The table selected as a whole: the selection's only node, or the one table it holds with
    // nothing else but blanks and paragraph ends around it.
    function selectedTable() {
        const r = range();
        if (!r || r.collapsed || !inBody(r.commonAncestorContainer))
            return null;
        if (r.startContainer === r.endContainer && r.endOffset - r.startOffset === 1) {
            const node = r.startContainer.childNodes[r.startOffset];
            if (node && node.nodeType === Node.ELEMENT_NODE)
                return node.tagName === 'TABLE' ? node : null;
        }
        const common = elementOf(r.commonAncestorContainer);
        const held = Array.from(common.querySelectorAll('table')).filter(table => contains(r, table));
        const outer = held.filter(table => !held.some(other => other !== table && other.contains(table)));
        if (outer.length !== 1)
            return null;
        const before = document.createRange();
        before.setStart(r.startContainer, r.startOffset);
        before.setEndBefore(outer[0]);
        const after = document.createRange();
        after.setStartAfter(outer[0]);
        after.setEnd(r.endContainer, r.endOffset);
        return blankRange(before) && blankRange(after) ? outer[0] : null;
    }

    // A click on a table's border or cell spacing lands on the table, not in a cell: it selects
    // the table as a whole, as long as the selection stays there.
    function clicked(event) {
        const target = event.target;
        if (event.button !== 0 || !target || target.nodeType !== Node.ELEMENT_NODE || !inBody(target) ||
            !['TABLE', 'THEAD', 'TBODY', 'TFOOT', 'TR'].includes(target.tagName))
            return;
        const whole = document.createRange();
        whole.selectNode(target.closest('table'));
        getSelection().removeAllRanges();
        getSelection().addRange(whole);
    }

    // Koravel copies and drags an explorer item as text marked with "¤", which is no description
    // content: refused here, where every paste passes, from the menu, the keyboard or the middle
    // button, and every drop.
    function refused(event) {
        const data = event.type === 'paste' ? event.clipboardData : event.dataTransfer;
        if (data && data.getData('text/plain').includes('\u00a4')) {
            event.preventDefault();
            event.stopImmediatePropagation();
        }
    }

    window.kvl = {
        page: () => call(pageHTML),
        body: () => call(bodyHTML),
        images: () => call(() => Array.from(document.images, image => image.getAttribute('src') || '')),
        dirty: () => call(() => {
            if (baseline === null)
                baseline = new DOMParser().parseFromString(baselineSource, 'text/html').body.innerHTML;
            return bodyHTML() !== baseline;
        }),
        style: () => call(() => { const style = styleElement(); return style ? style.textContent : ''; }),
        setStyle: css => call(() => setStyle(css)),
        state: () => call(() => { ensureCaret(); return state(); }),
        paste: html => call(() => {
            ensureCaret();
            edit(() => insertFragment(html));
            return state();
        }),
        insertAtStart: html => call(() => {
            ensureCaret();
            edit(() => insertAtStart(html));
            return state();
        }),
        selectedTable: () => call(() => { const table = selectedTable(); return table ? openTag(table) : ''; }),
        setTableAttributes: pairs => call(() => {
            const table = selectedTable();
            if (!table)
                throw new Error('No table is selected.');
            edit(() => {
                for (const [name, value] of pairs) {
                    if (value)
                        table.setAttribute(name, value);
                    else
                        table.removeAttribute(name);
                }
            });
            return state();
        }),
        font: commands => call(() => {
            ensureCaret();
            oneStep(() => {
                for (const [name, value] of commands)
                    browserCommand(name, value);
            });
            return state();
        }),
        exec: (command, argument) => call(() => {
            ensureCaret();
            const value = run(command, argument);
            return {value: value, state: state()};
        }),
        // The program's question `id`: `name` of the functions above; answered over the channel.
        ask: (id, name, args) => withBridge(() => bridge.Answer(id, window.kvl[name](...args))),
        // The next document, fetched from the program and placed.
        load: id => withBridge(() => bridge.TakeDocument(id, next => {
            if (next.stale)
                bridge.Answer(id, {e: 'A later document replaced this one.'});
            else
                bridge.Answer(id, call(() => place(next.html, next.setBody)));
        }))
    };

    document.addEventListener('selectionchange', schedule);
    document.addEventListener('visibilitychange', () => {
        if (pending)
            schedule();
    });
    document.addEventListener('input', event => {
        if (marks && event.target === marks)
            replay(event.inputType);
        typed = true;
        schedule();
    });
    document.addEventListener('click', clicked, true);
    document.addEventListener('paste', refused, true);
    document.addEventListener('drop', refused, true);
    new QWebChannel(qt.webChannelTransport, channel => {
        bridge = channel.objects.bridge;
        for (const work of waiting)
            work();
        waiting = [];
    });
})();
