// GIcon: the image of a marker, drawn at exactly iconSize with its iconAnchor on the point; the
// shadow (if any) at shadowSize from the same top-left corner. Takes the geometry's GSize and
// GPoint and the images' resolveImage, ownImage and BLANK_IMAGE.
function iconModule(geometry, images) {
  var GSize = geometry.GSize;
  var GPoint = geometry.GPoint;
  var BLANK_IMAGE = images.BLANK_IMAGE;
  var ownImage = images.ownImage;
  var resolveImage = images.resolveImage;

  function GIcon() {
    this.image = null;
    this.shadow = null;
    this.iconSize = null;
    this.shadowSize = null;
    this.iconAnchor = null;
    this.infoWindowAnchor = null;
  }

  // An L.Icon whose images fall back to the layer's own copy when their address fails.
  var FallbackIcon = L.Icon.extend({
    options: {
      fallbackUrl: null, // shown instead of iconUrl when it cannot be loaded
      fallbackShadowUrl: null, // likewise for shadowUrl
    },

    _createImg: function (src, element) {
      var img = element || document.createElement("img");
      var options = this.options;
      var fallback = src === options.shadowUrl ? options.fallbackShadowUrl : options.fallbackUrl;
      img.alt = "";
      img.onerror = fallback
        ? function () {
            img.onerror = null;
            img.src = fallback;
          }
        : null;
      img.src = src;
      return img;
    },
  });

  function pixelPair(point, fallback) {
    return point ? [Number(point.x), Number(point.y)] : fallback;
  }

  function pixelSize(size, fallback) {
    return size ? [Number(size.width), Number(size.height)] : fallback;
  }

  // The icon of a marker made without one: the small red pin.
  function defaultIcon() {
    var icon = new GIcon();
    icon.image = ownImage("pin.png");
    icon.iconSize = new GSize(12, 20);
    icon.iconAnchor = new GPoint(6, 20);
    return icon;
  }

  // The Leaflet icon for a GIcon; one that names no image draws as nothing.
  function leafletIcon(icon) {
    var image = resolveImage(icon.image) || { src: BLANK_IMAGE, fallback: null };
    var size = pixelSize(icon.iconSize, null);
    var anchor = pixelPair(icon.iconAnchor, size ? [size[0] / 2, size[1]] : [0, 0]);
    var infoAnchor = pixelPair(icon.infoWindowAnchor, anchor);
    var options = {
      iconUrl: image.src,
      fallbackUrl: image.fallback,
      iconSize: size,
      iconAnchor: anchor,
      popupAnchor: [infoAnchor[0] - anchor[0], infoAnchor[1] - anchor[1]],
    };
    var shadow = resolveImage(icon.shadow);
    if (shadow) {
      options.shadowUrl = shadow.src;
      options.fallbackShadowUrl = shadow.fallback;
      options.shadowSize = pixelSize(icon.shadowSize, size);
      options.shadowAnchor = anchor;
    }
    return new FallbackIcon(options);
  }

  return { GIcon: GIcon, defaultIcon: defaultIcon, leafletIcon: leafletIcon };
}
