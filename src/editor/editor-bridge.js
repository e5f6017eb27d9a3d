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
    const ALWAYS = [5018, 5031, 5034, 5035, 5042, 5043, 5044, 5045, 5046, 5016, 5017, 5032];
    const CELL_COMMANDS = [5005, 5006, 5007, 5019, 5020, 5021, 5029, 5047];
    const BLOCK_TAGS = ['P', 'PRE', 'ADDRESS', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'OL', 'UL', 'DIR', 'MENU', 'DT', 'DD'];
    const LIST_TAGS = ['OL', 'UL', 'DIR', 'MENU'];
    // HTML font sizes 1 to 7 in pixels at the default size.
    const LEGACY_SIZES = [10, 13, 16, 18, 24, 32, 48];
    // Beyond this many text nodes a selection's formatting is judged on its start.
    const SAMPLE = 4000;

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
        const inCell = editable && cellAt(r.startContainer);
        for (const command of CELL_COMMANDS)
            set(command, inCell ? 3 : 1);
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
        ensureCaret();
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

    // The element with another tag name, its attributes, children and the selection kept.
    function rename(element, tag) {
        const selection = getSelection();
        const points = [selection.anchorNode, selection.anchorOffset, selection.focusNode, selection.focusOffset];
        const replacement = document.createElement(tag);
        for (const attribute of Array.from(element.attributes))
            replacement.setAttribute(attribute.name, attribute.value);
        while (element.firstChild)
            replacement.appendChild(element.firstChild);
        element.replaceWith(replacement);
        if (points[0]) {
            const map = node => node === element ? replacement : node;
            selection.setBaseAndExtent(map(points[0]), points[1], map(points[2]), points[3]);
        }
        return replacement;
    }

    // Moves `work`'s DOM changes past the selection: a node taken out and put back elsewhere
    // would otherwise drop the caret.
    function keepingSelection(work) {
        const selection = getSelection();
        const points = [selection.anchorNode, selection.anchorOffset, selection.focusNode, selection.focusOffset];
        work();
        if (points[0] && points[0].isConnected && points[2] && points[2].isConnected)
            selection.setBaseAndExtent(points[0], points[1], points[2], points[3]);
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
                while (list.nextSibling)
                    after.appendChild(list.nextSibling);
                holder.after(list);
                list.after(after);
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

    function setBlock(tag) {
        const list = currentList();
        if (LIST_TAGS.includes(tag)) {
            if (list) {
                if (list.tagName !== tag)
                    rename(list, tag);
                return;
            }
            document.execCommand(tag === 'OL' ? 'insertOrderedList' : 'insertUnorderedList');
            // The browser makes no directory or menu lists: it makes a bulleted one, renamed.
            const made = currentList();
            if (made && made.tagName !== tag && tag !== 'OL')
                rename(made, tag);
            return;
        }
        if (list) {
            const plain = list.tagName === 'OL' ? list : list.tagName === 'UL' ? list : rename(list, 'UL');
            document.execCommand(plain.tagName === 'OL' ? 'insertOrderedList' : 'insertUnorderedList');
        }
        document.execCommand('formatBlock', false, tag);
    }

    // Table cells: a grid column is counted in column spans.
    function columnOf(cell) {
        let column = 0;
        for (const c of cell.parentElement.cells) {
            if (c === cell)
                return column;
            column += c.colSpan;
        }
        return column;
    }

    function cellAtColumn(row, column) {
        let at = 0;
        for (const c of row.cells) {
            if (column < at + c.colSpan)
                return c;
            at += c.colSpan;
        }
        return null;
    }

    function newCell(like) {
        const cell = document.createElement(like && like.tagName === 'TH' ? 'TH' : 'TD');
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

    // Rows and a table left without cells go too; the caret goes to what remains.
    function tidy(table, near) {
        for (const row of Array.from(table.rows)) {
            if (!row.cells.length)
                row.remove();
        }
        if (!table.rows.length) {
            const after = table.nextSibling || table.parentNode;
            table.remove();
            caretInto(after);
        } else if (!near || !near.isConnected) {
            caretInto(table.rows[0].cells[0]);
        }
    }

    function cellsInSelection(r, table) {
        return Array.from(table.querySelectorAll('td, th'))
            .filter(c => c.closest('table') === table && r.intersectsNode(c));
    }

    function cellCommand(command) {
        const r = range();
        const cell = r && cellAt(r.startContainer);
        if (!cell)
            throw new Error('The caret is not in a table cell.');
        const row = cell.parentElement;
        const table = cell.closest('table');
        const column = columnOf(cell);
        switch (command) {
        case 5021: {  // insert row above
            const fresh = row.cloneNode(false);
            let width = 0;
            for (const c of row.cells)
                width += c.colSpan;
            for (let i = 0; i < width; ++i)
                fresh.appendChild(newCell(cell));
            row.before(fresh);
            break;
        }
        case 5007: {  // delete the selected rows
            const last = cellAt(r.endContainer);
            const rows = Array.from(table.rows);
            const from = rows.indexOf(row);
            const to = last && last.closest('table') === table ? rows.indexOf(last.parentElement) : from;
            const next = rows[to + 1] || rows[from - 1];
            for (const gone of rows.slice(from, to + 1))
                gone.remove();
            tidy(table, null);
            if (next && next.isConnected)
                caretInto(next.cells[0]);
            break;
        }
        case 5020:  // insert column before
            for (const each of Array.from(table.rows)) {
                const target = cellAtColumn(each, column);
                each.insertBefore(newCell(target), target);
            }
            break;
        case 5006:  // delete column
            for (const each of Array.from(table.rows)) {
                const target = cellAtColumn(each, column);
                if (target && target.colSpan > 1)
                    target.colSpan -= 1;
                else if (target)
                    target.remove();
            }
            tidy(table, null);
            break;
        case 5019:  // insert cell before
            row.insertBefore(newCell(cell), cell);
            break;
        case 5005: {  // delete the selected cells
            const next = cell.nextElementSibling || cell.previousElementSibling;
            for (const gone of cellsInSelection(r, table))
                gone.remove();
            tidy(table, next);
            if (next && next.isConnected)
                caretInto(next);
            break;
        }
        case 5029: {  // merge the selected cells of the row, or the cell with its right neighbour
            let cells = cellsInSelection(r, table).filter(c => c.parentElement === row);
            if (cells.length < 2 && cell.nextElementSibling)
                cells = [cell, cell.nextElementSibling];
            if (cells.length < 2)
                throw new Error('There is no cell to merge with.');
            const [first, ...rest] = cells;
            for (const other of rest) {
                first.colSpan += other.colSpan;
                while (other.firstChild)
                    first.appendChild(other.firstChild);
                other.remove();
            }
            break;
        }
        case 5047: {  // split the cell in two, the grid kept square
            if (cell.colSpan > 1) {
                cell.colSpan -= 1;
            } else {
                for (const each of Array.from(table.rows)) {
                    const target = each === row ? null : cellAtColumn(each, column);
                    if (target)
                        target.colSpan += 1;
                }
            }
            cell.after(newCell(cell));
            break;
        }
        }
    }

    function run(command, argument) {
        const plain = PLAIN[command];
        if (plain) {
            if (!document.execCommand(plain))
                throw new Error('The command is not available here.');
            liftLists();
            return null;
        }
        const named = WITH_ARGUMENT[command];
        if (named) {
            if (!document.execCommand(named, false, String(argument)))
                throw new Error('The command is not available here.');
            return null;
        }
        if (command === 5043) {
            setBlock(String(argument));
            liftLists();
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
            return {e: String(error && error.message ? error.message : error)};
        }
    }

    function withBridge(work) {
        if (bridge)
            work();
        else
            waiting.push(work);
    }

    // The table selected as a whole: a selection whose only node is one TABLE.
    function selectedTable() {
        const r = range();
        if (!r || r.collapsed || r.startContainer !== r.endContainer || r.endOffset - r.startOffset !== 1)
            return null;
        const node = r.startContainer.childNodes[r.startOffset];
        return node && node.nodeType === Node.ELEMENT_NODE && node.tagName === 'TABLE' && inBody(node) ? node : null;
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
            if (!document.execCommand('insertHTML', false, html))
                throw new Error('The fragment could not be pasted here.');
            return state();
        }),
        selectedTable: () => call(() => { const table = selectedTable(); return table ? openTag(table) : ''; }),
        setTableAttributes: pairs => call(() => {
            const table = selectedTable();
            if (!table)
                throw new Error('No table is selected.');
            for (const [name, value] of pairs) {
                if (value)
                    table.setAttribute(name, value);
                else
                    table.removeAttribute(name);
            }
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
    document.addEventListener('input', () => { typed = true; schedule(); });
    new QWebChannel(qt.webChannelTransport, channel => {
        bridge = channel.objects.bridge;
        for (const work of waiting)
            work();
        waiting = [];
    });
})();
