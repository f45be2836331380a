// Where an image the page names is drawn from.
//
// Takes the layer's settings: `images`, the layer's own copies as data addresses by file name,
// and `serviceImages`, which names by address the copy that stands for each image on the old map
// service's hosts. Those hosts are never asked for anything: an address on them that has no copy
// draws as nothing.
function imagesModule(settings) {
  var BLANK_IMAGE =
    "data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7";

  var serviceHosts = Object.keys(settings.serviceImages).map(hostOf);

  function hostOf(address) {
    var match = /^[a-z][a-z0-9+.-]*:\/\/([^\/?#]*)/i.exec(String(address));
    return match ? match[1].toLowerCase() : "";
  }

  function fileNameOf(address) {
    var path = String(address).split(/[?#]/)[0];
    return path.substring(path.lastIndexOf("/") + 1);
  }

  // The layer's own copy of the image `name` ("pin.png"), as a data address.
  function ownImage(name) {
    return settings.images[name];
  }

  // {src, fallback}: what to load, and the own copy to show when it cannot be loaded.
  function resolveImage(address) {
    if (address === undefined || address === null || address === "") return null;
    var copy = settings.serviceImages[address];
    if (copy !== undefined) return { src: settings.images[copy] || BLANK_IMAGE, fallback: null };
    var host = hostOf(address);
    if (host !== "" && serviceHosts.indexOf(host) >= 0) return { src: BLANK_IMAGE, fallback: null };
    var fallback = settings.images[fileNameOf(address)] || null;
    return { src: String(address), fallback: fallback };
  }

  return { BLANK_IMAGE: BLANK_IMAGE, ownImage: ownImage, resolveImage: resolveImage };
}
