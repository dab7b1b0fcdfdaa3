// How the login commands name a site: the host name of a page's location
// as the browser reports it, the one label of it that identifies the site
// (the key of the look-up among typed-in logins and the default favor
// name), and the label a registered site is listed under.
#pragma once

#include <string>

#include "platform/browser/mshtml_document.h"

// The host name of the document that holds element; empty when any step
// fails or yields nothing (then url is left as it was). url, when given,
// receives the document's full address.
std::u16string GetDocumentDomain(IDispatch* element, std::u16string* url = nullptr);
// The same for a document.
std::u16string GetLocationHostName(IHTMLDocument2* document, std::u16string* url = nullptr);

// The label that identifies the site: the second-level label, or the
// third-level one under a two-character country code. A host without
// labels gives the empty name; a single two-character label gives the host
// name itself.
std::u16string GetCoreDomainName(const std::u16string& host);

// The label of a registered site whose favor name is empty: the host name
// without "www.", a country code and a short top-level label, and the
// labels before the first remaining dot.
std::u16string GetSiteDisplayName(const std::u16string& host);
