// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps the page usable without a network: every file of the page and the
// core is cached on install, under a name that changes with their contents,
// and served from the cache first. web/build.sh fills in the two lists below.
const CACHE = 'corvane-@VERSION@';
const FILES = [/* @FILES@ */];

self.addEventListener('install', (event) => {
  // From the server, never from the browser's HTTP cache: a host that sends
  // no Cache-Control lets that cache keep the old files for days, and a new
  // cache filled from it would be the old version under a new name.
  const fresh = FILES.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(fresh)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

// Opened once per start of the worker, not once per file a page asks for.
let opened = null;

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await (opened ??= caches.open(CACHE));
    // The page's address with or without "index.html" is the same file.
    const cached = await cache.match(request, { ignoreSearch: true });
    if (cached) return cached;
    return fetch(request);
  })());
});
