'use strict';
// Runs the statistics core off the page's thread: one request at a time, the
// log and theme copied straight into the core's own buffers.
let core = null;

function text(pointer) {
  return core.UTF8ToString(pointer);
}

function fill(buffer, bytes) {
  // The call may grow the memory; the view is taken after it.
  core.HEAPU8.set(bytes, buffer);
}

async function generate(job) {
  postMessage({ type: 'progress', stage: `Reading ${job.log.name}...` });
  const log = new Uint8Array(await job.log.arrayBuffer());
  const theme = typeof job.theme === 'number' ? job.theme : new Uint8Array(await job.theme.arrayBuffer());
  postMessage({ type: 'progress', stage: `Generating the page from ${log.length.toLocaleString('en')} bytes...` });

  const start = performance.now();
  const request = core._zefa_request_new();
  fill(core._zefa_request_log(request, log.length), log);
  if (typeof theme === 'number') {
    core._zefa_request_built_in_theme(request, theme);
  } else {
    fill(core._zefa_request_theme(request, theme.length), theme);
  }
  job.awards.forEach((shown, index) => core._zefa_request_award(request, index, shown ? 1 : 0));
  core._zefa_request_game_version(request, job.gameVersion);
  if (job.epoch !== null) core._zefa_request_clock(request, job.epoch);
  const result = core._zefa_generate(request);
  const milliseconds = Math.round(performance.now() - start);

  const error = text(core._zefa_result_error(result));
  if (error) {
    core._zefa_result_free(result);
    postMessage({ type: 'failed', message: error });
    return;
  }
  const bytes = (data, size) => core.HEAPU8.slice(data, data + size).buffer;
  const page = bytes(core._zefa_result_page(result), core._zefa_result_page_size(result));
  const json = bytes(core._zefa_result_json(result), core._zefa_result_json_size(result));
  const gameVersion = core._zefa_result_game_version(result);
  core._zefa_result_free(result);
  postMessage({ type: 'done', page, json, gameVersion, milliseconds }, [page, json]);
}

onmessage = (event) => {
  generate(event.data).catch((reason) => postMessage({ type: 'failed', message: `The generation stopped: ${reason}.` }));
};

createZefaCore().ready.then((module) => {
  core = module;
  postMessage({ type: 'ready', awards: text(core._zefa_award_names()).split('\n').filter(Boolean) });
}, (reason) => postMessage({ type: 'failed', message: `The statistics core did not start: ${reason}.` }));
