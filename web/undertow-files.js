// The program's files (pictures, meshes, music, font) travel as one gzip-compressed tar, which
// the browser fetches, inflates with its own DecompressionStream and unpacks here.
'use strict';

// Fetches `url`, calling onProgress(loadedBytes, totalBytes) as the compressed bytes arrive
// (totalBytes is 0 when the server does not say), and resolves to the inflated bytes.
async function undertowFetchGzip(url, onProgress) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(url + ': ' + response.status + ' ' + response.statusText);
  const total = Number(response.headers.get('Content-Length')) || 0;
  let loaded = 0;
  const counted = response.body.pipeThrough(new TransformStream({
    transform(chunk, controller) {
      loaded += chunk.byteLength;
      if (onProgress) onProgress(loaded, total);
      controller.enqueue(chunk);
    },
  }));
  const inflated = counted.pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(inflated).arrayBuffer());
}

// The regular files of a ustar archive as [{path, data}], data a view into `bytes`.
function undertowUntar(bytes) {
  const files = [];
  const text = (start, length) => {
    let end = start;
    while (end < start + length && bytes[end] !== 0) end++;
    return new TextDecoder().decode(bytes.subarray(start, end));
  };
  for (let at = 0; at + 512 <= bytes.length;) {
    const name = text(at, 100);
    if (!name) break;   // the two empty blocks that end the archive
    const size = parseInt(text(at + 124, 12).trim() || '0', 8);
    const type = String.fromCharCode(bytes[at + 156] || 48);
    const prefix = text(at + 345, 155);
    const path = (prefix ? prefix + '/' : '') + name;
    const start = at + 512;
    if (!(size >= 0) || start + size > bytes.length) throw new Error('the file archive is cut short at ' + path);
    if (type === '0') files.push({ path: path.replace(/^\.\//, ''), data: bytes.subarray(start, start + size) });
    at = start + Math.ceil(size / 512) * 512;
  }
  return files;
}

// Writes the files into Emscripten's file system under `root`.
function undertowWriteFiles(FS, root, files) {
  for (const file of files) {
    const path = root + file.path;
    const folder = path.substring(0, path.lastIndexOf('/'));
    if (folder) FS.mkdirTree(folder);
    FS.writeFile(path, file.data);
  }
}
