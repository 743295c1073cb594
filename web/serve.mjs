// Serves the built page on the loopback address only:
//   node web/serve.mjs DIR [PORT]     (PORT 8000 by default; 0 picks a free one)
// Tests import serve() and get the server with its port.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

export function serve(dir, port = 8000, host = '127.0.0.1') {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
      let file = normalize(join(root, path));
      if (file !== root && !file.startsWith(root + sep)) throw new Error('outside the page');
      if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found\n');
    }
  });
  return new Promise((ready, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => ready(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [dir, port] = process.argv.slice(2);
  if (!dir) {
    console.error('usage: node web/serve.mjs DIR [PORT]');
    process.exit(2);
  }
  const server = await serve(dir, port === undefined ? 8000 : Number(port));
  console.log(`Ashfallow is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
