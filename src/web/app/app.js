'use strict';
// The form: collects the log, message set, theme and awards, hands them to the
// worker that runs the statistics core, and shows what comes back.
(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('form');
  const dropZone = $('drop-zone');
  const logFile = $('log-file');
  const themeFile = $('theme-file');
  const awardList = $('awards');
  const toggleAwards = $('toggle-awards');
  const generate = $('generate');
  const progress = $('progress');
  const status = $('status');
  const error = $('error');
  const frame = $('frame');
  const versionNames = { 1: 'Zefa Beta1H or Older', 2: 'Zefa Beta2 or Newer' };
  const started = performance.now();

  let log = null;
  let result = null;  // { page: Blob, json: Blob, name }
  let frameUrl = null;
  let worker = null;

  // ?epoch=SECONDS fixes the page's clock, as SOURCE_DATE_EPOCH does for the command.
  const epochText = new URLSearchParams(location.search).get('epoch');
  const epoch = epochText !== null && /^\d+$/.test(epochText) ? Number(epochText) : null;

  // While busy, the stage is shown with the seconds it has taken so far.
  let ticker = null;
  function setState(state, text) {
    document.body.dataset.state = state;
    status.textContent = text;
    progress.hidden = state !== 'busy';
    generate.disabled = state === 'busy' || state === 'loading' || !log;
    clearInterval(ticker);
    if (state === 'busy') {
      const since = performance.now();
      ticker = setInterval(() => {
        status.textContent = `${text} ${Math.round((performance.now() - since) / 1000)} s`;
      }, 1000);
    }
  }

  function fail(message) {
    error.textContent = message;
    setState('error', '');
  }

  function startWorker() {
    const source = $('worker-source').textContent;
    worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
    worker.onmessage = (event) => handlers[event.data.type](event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      worker.terminate();
      fail(`The generation stopped: ${event.message || 'the browser ran out of memory'}.`);
      startWorker();
    };
  }

  const handlers = {
    ready(message) {
      if (!awardList.children.length) showAwards(message.awards);
      document.body.dataset.readyMs = Math.round(performance.now() - started);
      setState('ready', log ? 'Ready.' : 'Ready: choose a console log.');
      if (epochText !== null && epoch === null) fail('The epoch in the address must be a whole number of seconds.');
    },
    progress(message) {
      setState('busy', message.stage);
    },
    failed(message) {
      fail(message.message);
    },
    done(message) {
      const base = log.name.replace(/\.[^.]*$/, '') || 'stats';
      result = {
        page: new Blob([message.page], { type: 'text/html' }),
        json: new Blob([message.json], { type: 'application/json' }),
        name: base,
      };
      if (frameUrl) URL.revokeObjectURL(frameUrl);
      frameUrl = URL.createObjectURL(result.page);
      frame.src = frameUrl;
      $('summary').textContent = `${log.name}: ${versionNames[message.gameVersion]}, ` +
        `${(message.page.byteLength / 1024).toFixed(1)} KB, made in ${message.milliseconds} ms.`;
      $('result').hidden = false;
      document.body.dataset.generationMs = message.milliseconds;
      setState('done', 'Done.');
    },
  };

  function showAwards(names) {
    names.forEach((name, index) => {
      const item = document.createElement('li');
      const label = document.createElement('label');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = true;
      box.value = String(index);
      box.addEventListener('change', updateToggle);
      label.append(box, ` ${name}`);
      item.append(label);
      awardList.append(item);
    });
  }

  const awardBoxes = () => [...awardList.querySelectorAll('input')];
  function updateToggle() {
    toggleAwards.textContent = awardBoxes().every((box) => box.checked) ? 'Uncheck All' : 'Check All';
  }
  toggleAwards.addEventListener('click', () => {
    const check = toggleAwards.textContent === 'Check All';
    for (const box of awardBoxes()) box.checked = check;
    updateToggle();
  });

  function chooseLog(file) {
    if (!file) return;
    log = file;
    error.textContent = '';
    $('log-name').textContent = `${file.name} (${(file.size / 1024).toFixed(1)} KB)`;
    setState(document.body.dataset.state === 'loading' ? 'loading' : 'ready', status.textContent);
  }
  dropZone.addEventListener('click', () => logFile.click());
  logFile.addEventListener('change', () => chooseLog(logFile.files[0]));
  themeFile.addEventListener('change', () => { $('theme-own').checked = true; });
  // The whole window takes a dropped log; the zone shows where.
  window.addEventListener('dragover', (event) => {
    event.preventDefault();
    dropZone.classList.add('over');
  });
  window.addEventListener('dragleave', () => dropZone.classList.remove('over'));
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    dropZone.classList.remove('over');
    chooseLog(event.dataTransfer.files[0]);
  });

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    if (!log) return;
    const theme = form.elements.theme.value;
    if (theme === 'own' && !themeFile.files[0]) {
      fail('Choose the own theme file, or another theme.');
      return;
    }
    error.textContent = '';
    setState('busy', 'Starting...');
    worker.postMessage({
      type: 'generate',
      log,
      theme: theme === 'own' ? themeFile.files[0] : Number(theme),
      awards: awardBoxes().map((box) => box.checked),
      gameVersion: Number(form.elements.version.value),
      epoch,
    });
  });

  function download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  $('download-page').addEventListener('click', () => download(result.page, `${result.name}.html`));
  $('download-json').addEventListener('click', () => download(result.json, `${result.name}.json`));

  startWorker();
})();
