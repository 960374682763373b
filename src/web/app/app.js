'use strict';
// The form: collects the logs, message set, theme and awards, hands the logs
// one after another to the worker that runs the statistics core, and shows
// each page beside the inputs it was made from.
(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('form');
  const dropZone = $('drop-zone');
  const logFile = $('log-file');
  const themePanel = $('theme-panel');
  const themeFile = $('theme-file');
  const awardList = $('awards');
  const toggleLabel = $('toggle-label');
  const generate = $('generate');
  const cancel = $('cancel');
  const progress = $('progress');
  const status = $('status');
  const error = $('error');
  const result = $('result');
  const resultList = $('results');
  const frame = $('frame');
  const versionNames = { 1: 'Zefa Beta1H or Older', 2: 'Zefa Beta2 or Newer' };
  const started = performance.now();
  const workerUrl = URL.createObjectURL(new Blob([$('worker-source').textContent], { type: 'text/javascript' }));
  // In the frame "#section" resolves against the page itself, so its own links move within it.
  const frameBase = '<base href="about:srcdoc">';
  const storageKey = 'zefastats-web';
  const rememberedThemeLimit = 512 * 1024;

  let logs = [];         // the chosen console logs, in order
  let ownTheme = null;   // { file, remembered: latin-1 text or null }
  let worker = null;
  let workerReady = false;
  let run = null;        // the run going on: { key, options, logs, index, failures }
  let results = null;    // the pages of the last run: { key, items }
  let shown = null;      // the item in the frame: { log, page, json, text }
  let frameShowing = false;
  let runError = '';
  let readyNotice = '';

  const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;
  const stem = (file) => file.name.replace(/\.[^.]*$/, '') || 'stats';
  const fileKey = (file) => [file.name, file.size, file.lastModified];
  const awardBoxes = () => [...awardList.querySelectorAll('input')];

  // ?epoch=SECONDS fixes the page's clock, as SOURCE_DATE_EPOCH does for the
  // command; the browser's dates end at 8.64e12 seconds.
  const epochText = new URLSearchParams(location.search).get('epoch');
  const epochValid = epochText !== null && /^\d+$/.test(epochText) && Number(epochText) <= 8.64e12;
  const epoch = epochValid ? Number(epochText) : null;
  const epochProblem = epochText === null || epochValid ? '' : 'The epoch in the address must be a whole ' +
    'number of seconds up to 8640000000000: mend it or remove it to generate.';

  // What a result is made from; a result whose key differs from the form's is a previous one.
  function inputKey() {
    const theme = form.elements.theme.value;
    return JSON.stringify([logs.map(fileKey), form.elements.version.value, theme,
      theme === 'own' && ownTheme ? fileKey(ownTheme.file) : null, awardBoxes().map((box) => box.checked)]);
  }

  // While busy, the stage is shown with the seconds it has taken so far.
  let ticker = null;
  function setState(state, text) {
    document.body.dataset.state = state;
    status.textContent = text;
    progress.hidden = state !== 'busy' && state !== 'showing';
    cancel.hidden = state !== 'busy';
    updateGenerate();
    clearInterval(ticker);
    if (state === 'busy') {
      const since = performance.now();
      ticker = setInterval(() => {
        status.textContent = `${text} ${Math.round((performance.now() - since) / 1000)} s`;
      }, 1000);
    }
  }

  function updateGenerate() {
    const state = document.body.dataset.state;
    generate.disabled = ['busy', 'showing', 'loading'].includes(state) || !logs.length || epochProblem !== '';
  }

  function showError(message) {
    runError = message;
    error.textContent = [epochProblem, runError].filter(Boolean).join(' ');
  }

  function startWorker() {
    const own = new Worker(workerUrl);
    worker = own;
    workerReady = false;
    // A replaced worker's last messages belong to no run.
    own.onmessage = (event) => {
      if (worker === own) handlers[event.data.type](event.data);
    };
    own.onerror = (event) => {
      event.preventDefault();
      if (worker !== own) return;
      own.terminate();
      startWorker();
      handlers.failed({ message: `The generation stopped: ${event.message || 'the browser ran out of memory'}.` });
    };
  }

  const handlers = {
    ready(message) {
      workerReady = true;
      if (!awardList.children.length) {
        showAwards(message.awards);
        document.body.dataset.readyMs = Math.round(performance.now() - started);
      }
      if (run) {
        sendNext();
      } else if (epochProblem) {
        showError('');
        setState('error', '');
      } else {
        setState('ready', readyNotice || (logs.length ? 'Ready.' : 'Ready: choose a console log.'));
        readyNotice = '';
      }
    },
    progress(message) {
      const prefix = run.logs.length > 1 ? `Log ${run.index + 1} of ${run.logs.length}: ` : '';
      setState('busy', prefix + message.stage);
    },
    failed(message) {
      if (!run) {
        showError(message.message);
        setState('error', '');
        return;
      }
      run.failures.push(`${run.logs[run.index].name}: ${message.message}`);
      addRow(run.logs[run.index], null, message.message);
      next(message.message);
    },
    done(message) {
      const log = run.logs[run.index];
      const item = {
        log,
        page: new Blob([message.page], { type: 'text/html' }),
        json: new Blob([message.json], { type: 'application/json' }),
      };
      results.items.push(item);
      addRow(log, item, `${versionNames[message.gameVersion]}, page ${kb(message.page.byteLength)}, ` +
        `made in ${message.milliseconds} ms.`);
      document.body.dataset.generationMs = message.milliseconds;
      if (!shown) show(item);
      next('');
    },
  };

  function sendNext() {
    const log = run.logs[run.index];
    worker.postMessage({ type: 'generate', log, ...run.options });
  }

  function next(lastError) {
    run.index += 1;
    if (run.index < run.logs.length) {
      if (workerReady) sendNext();
      return;
    }
    const { failures, logs: made } = run;
    run = null;
    showError(made.length === 1 ? lastError : failures.join(' '));
    if (!results.items.length) {
      clearResults();  // the error above names every log
      setState('error', '');
    } else if (frameShowing) {
      setState('showing', 'Showing the page...');
    } else {
      shownDone();
    }
  }

  // "Done." once the page is in the frame, which takes seconds for a large one.
  function shownDone() {
    const failed = resultList.querySelectorAll('.failed').length;
    setState('done', failed ? `Done: ${results.items.length} pages; ${failed} of the logs gave none.` : 'Done.');
    if ([document.body, generate, cancel].includes(document.activeElement)) {
      $('result-title').focus({ preventScroll: true });
    }
    result.scrollIntoView({ block: 'start' });
  }

  frame.addEventListener('load', () => {
    if (!frameShowing) return;
    frameShowing = false;
    if (document.body.dataset.state === 'showing') shownDone();
  });

  // The page's own bytes read as the browser reads a file: by the charset it
  // declares near its start, Windows-1252 otherwise.
  function pageText(bytes) {
    const head = new TextDecoder('windows-1252').decode(bytes.subarray(0, 1024));
    const declared = /<meta[^>]*charset\s*=\s*["']?\s*([\w.:-]+)/i.exec(head);
    try {
      return new TextDecoder(declared ? declared[1] : 'windows-1252').decode(bytes);
    } catch {
      return new TextDecoder('windows-1252').decode(bytes);
    }
  }

  async function show(item) {
    shown = item;
    frameShowing = true;
    for (const button of resultList.querySelectorAll('.show')) {
      button.setAttribute('aria-pressed', String(button.closest('li').item === item));
    }
    frame.title = `The statistics page of ${item.log.name}`;
    const text = await itemText(item);
    if (shown === item) frame.srcdoc = frameBase + text;
  }

  async function itemText(item) {
    item.text ??= pageText(new Uint8Array(await item.page.arrayBuffer()));
    return item.text;
  }

  function addRow(log, item, summary) {
    const row = document.createElement('li');
    row.item = item;
    const line = document.createElement('span');
    line.className = 'summary';
    line.textContent = `${log.name} (${kb(log.size)}): ${summary}`;
    row.append(line);
    if (item) {
      const button = (label, className, action) => {
        const element = document.createElement('button');
        element.type = 'button';
        element.className = className;
        element.textContent = label;
        element.addEventListener('click', action);
        row.append(element);
      };
      button('Show', 'show', () => show(item));
      button('Open in a new tab', 'open-tab', () => openTab(item));
      button('Download page', 'download-page', () => download(item.page, `${stem(log)}.html`));
      button('Download JSON', 'download-json', () => download(item.json, `${stem(log)}.json`));
    } else {
      row.className = 'failed';
    }
    resultList.append(row);
    result.classList.toggle('several', resultList.children.length > 1);
    $('result-title').textContent = resultList.children.length > 1 ? 'The pages' : 'The page';
    result.classList.remove('empty');
  }

  function clearResults() {
    results = null;
    shown = null;
    frameShowing = false;
    resultList.replaceChildren();
    // Folded away rather than hidden: a frame taken out of the layout may not lay out its next page.
    result.classList.add('empty');
    markPrevious();
  }

  function markPrevious() {
    const previous = results !== null && run === null && results.key !== inputKey();
    $('previous').hidden = !previous;
    result.classList.toggle('previous-result', previous);
  }

  // A run whose inputs changed is stopped at once: its worker goes, a fresh one starts.
  function cancelRun(notice) {
    run = null;
    worker.terminate();
    startWorker();
    readyNotice = notice;
    if (results && !results.items.length) clearResults();
    setState('loading', notice);
  }

  function inputsChanged() {
    if (run) cancelRun('Cancelled: the inputs changed while the pages were being made. Ready.');
    remember();
    markPrevious();
    updateGenerate();
  }

  form.addEventListener('change', (event) => {
    if (event.target.type !== 'file') inputsChanged();
  });
  cancel.addEventListener('click', () => cancelRun('Cancelled. Ready.'));

  function showAwards(names) {
    const remembered = recalled().awards;
    names.forEach((name, index) => {
      const item = document.createElement('li');
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = !Array.isArray(remembered) || remembered[index] !== false;
      box.value = String(index);
      box.addEventListener('change', updateToggle);
      label.append(box, ` ${name}`);
      item.append(label);
      awardList.append(item);
    });
    updateToggle();
  }

  function updateToggle() {
    toggleLabel.textContent = awardBoxes().every((box) => box.checked) ? 'Uncheck All' : 'Check All';
  }
  $('toggle-awards').addEventListener('click', () => {
    const check = toggleLabel.textContent === 'Check All';
    for (const box of awardBoxes()) box.checked = check;
    updateToggle();
    inputsChanged();
  });

  function chooseLogs(files) {
    if (!files.length) return;
    logs = files;
    showError('');
    $('log-name').textContent = files.length === 1
      ? `${files[0].name} (${kb(files[0].size)})`
      : `${files.length} logs: ${files.map((file) => `${file.name} (${kb(file.size)})`).join(', ')}`;
    inputsChanged();
  }

  // Latin-1 text holds any bytes one to a character, as the storage keeps text.
  const latin1 = (bytes) => {
    let text = '';
    for (let start = 0; start < bytes.length; start += 8192) {
      text += String.fromCharCode(...bytes.subarray(start, start + 8192));
    }
    return text;
  };

  function setOwnTheme(file, bytes, remembered) {
    ownTheme = { file, remembered: bytes.length <= rememberedThemeLimit ? latin1(bytes) : null };
    $('theme-own').checked = true;
    $('theme-name').textContent = `${file.name} (${kb(file.size)})${remembered ? ', remembered' : ''}`;
  }

  async function chooseTheme(file) {
    if (!file) return;
    try {
      // Read once: the run and the storage use this copy.
      const bytes = new Uint8Array(await file.arrayBuffer());
      setOwnTheme(new File([bytes], file.name, { lastModified: file.lastModified }), bytes, false);
    } catch (reason) {
      showError(`The theme file cannot be read: ${reason.message}.`);
      return;
    }
    inputsChanged();
  }

  dropZone.addEventListener('click', () => logFile.click());
  // Emptied after each choice, so that choosing the same file again, edited since, counts.
  logFile.addEventListener('change', () => {
    chooseLogs([...logFile.files]);
    logFile.value = '';
  });
  $('choose-theme').addEventListener('click', () => themeFile.click());
  themeFile.addEventListener('change', () => {
    chooseTheme(themeFile.files[0]);
    themeFile.value = '';
  });
  // A file dropped on the theme's panel is the theme; anywhere else, the logs.
  const onThemePanel = (event) => event.target instanceof Element && themePanel.contains(event.target);
  window.addEventListener('dragover', (event) => {
    event.preventDefault();
    themePanel.classList.toggle('over', onThemePanel(event));
    dropZone.classList.toggle('over', !onThemePanel(event));
  });
  const leave = () => {
    themePanel.classList.remove('over');
    dropZone.classList.remove('over');
  };
  window.addEventListener('dragleave', leave);
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    leave();
    const files = [...event.dataTransfer.files];
    if (onThemePanel(event)) {
      chooseTheme(files[0]);
    } else {
      chooseLogs(files);
    }
  });

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (generate.disabled) return;
    const theme = form.elements.theme.value;
    if (theme === 'own' && !ownTheme) {
      showError('Choose the own theme file, or another theme.');
      setState('error', '');
      return;
    }
    clearResults();
    showError('');
    const key = inputKey();
    results = { key, items: [] };
    run = {
      key,
      logs,
      index: 0,
      failures: [],
      options: {
        theme: theme === 'own' ? ownTheme.file : Number(theme),
        awards: awardBoxes().map((box) => box.checked),
        gameVersion: Number(form.elements.version.value),
        epoch,
      },
    };
    const { awards, gameVersion } = run.options;
    const themeName = { own: `the theme file ${ownTheme?.file.name}`, 1: 'the classic theme' }[theme];
    $('made-with').textContent = `Made with ${themeName || 'the built-in theme'}, ` +
      `${awards.filter(Boolean).length} of ${awards.length} awards, ` +
      `${versionNames[gameVersion] || 'the message set detected from each log'}.`;
    setState('busy', 'Starting...');
    if (workerReady) sendNext();
  });

  function download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  // The page full size in a tab of its own, still in a frame that runs no script.
  const escapeHtml = (text) => text.replace(/[&"<>]/g, (c) => `&#${c.charCodeAt(0)};`);
  let tabUrl = null;
  async function openTab(item) {
    const text = await itemText(item);
    const title = `The statistics page of ${item.log.name}`;
    const policy = "default-src 'none'; style-src 'unsafe-inline'; img-src data: blob:";
    const wrapper = '<!DOCTYPE html><html lang="en"><head><meta charset="utf-8">' +
      `<meta http-equiv="Content-Security-Policy" content="${policy}">` +
      `<title>${escapeHtml(item.log.name)}</title><style>` +
      'html, body, iframe { display: block; width: 100%; height: 100%; margin: 0; border: 0; }</style></head>' +
      `<body><iframe sandbox="" title="${escapeHtml(title)}" srcdoc="${escapeHtml(frameBase + text)}">` +
      '</iframe></body></html>';
    if (tabUrl) URL.revokeObjectURL(tabUrl);
    tabUrl = URL.createObjectURL(new Blob([wrapper], { type: 'text/html' }));
    window.open(tabUrl, '_blank', 'noopener');
  }

  // The choices of the last visit, kept in this browser's own storage.
  function recalled() {
    try {
      return JSON.parse(localStorage.getItem(storageKey)) || {};
    } catch {
      return {};
    }
  }

  function remember() {
    const theme = form.elements.theme.value;
    const choices = {
      version: form.elements.version.value,
      theme: theme === 'own' && !ownTheme?.remembered ? '0' : theme,
      // Before the core has named the awards, the remembered selection stands.
      awards: awardList.children.length ? awardBoxes().map((box) => box.checked) : recalled().awards,
      ownTheme: ownTheme?.remembered ? { name: ownTheme.file.name, text: ownTheme.remembered } : null,
    };
    // Storage full: the choices without the theme's text; switched off: this visit only.
    for (const kept of [choices, { ...choices, ownTheme: null }]) {
      try {
        localStorage.setItem(storageKey, JSON.stringify(kept));
        return;
      } catch {
        // the next, smaller, or none
      }
    }
  }

  function restore() {
    const saved = recalled();
    if (saved.ownTheme && typeof saved.ownTheme.text === 'string') {
      const bytes = Uint8Array.from(saved.ownTheme.text, (c) => c.charCodeAt(0));
      setOwnTheme(new File([bytes], String(saved.ownTheme.name)), bytes, true);
    }
    for (const name of ['version', 'theme']) {
      const radio = [...form.elements[name]].find((choice) => choice.value === saved[name]);
      if (radio && (radio.value !== 'own' || ownTheme)) radio.checked = true;
    }
  }

  restore();
  startWorker();
})();
