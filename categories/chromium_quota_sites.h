#pragma once
// The Chromium stores of a site's quota-managed data, as stores of a profile's sites
// (categories/site_items.h): the storage buckets under WebStorage with their QuotaManager
// rows, the service worker registrations with the Cache API's folders, and the file system
// API's origins with their folders. Folders go whole, renamed out of the way first; the
// databases that name them lose the doomed rows and keys in one transaction or batch.
#include "categories/site_items.h"

namespace zarn {

extern const SiteStore& kChromiumBuckets;
extern const SiteStore& kChromiumServiceWorkers;
extern const SiteStore& kChromiumFileSystems;

}  // namespace zarn
