// The step pages of the help panel. The panel is the WebBrowser control in its oldest mode
// (JScript, the DOM of Internet Explorer 7): no addEventListener, no getElementsByClassName, no
// JSON, no Array.prototype.forEach. The program is reached through window.external; every use of
// it is wrapped, so that a page still draws in a browser whose external object lacks the names.

// get_color numbers: button face, light face, button shadow, button highlight, button text and
// the face of the box buttons.
var HELP_FACE = "1", HELP_LIGHT_FACE = "2", HELP_SHADOW = "4", HELP_HIGHLIGHT = "5",
    HELP_TEXT = "6", HELP_BUTTON_FACE = "8";

function helpHost() {
  try {
    return window.external;
  } catch (e) {
    return null;
  }
}

// A property of the program as a string, or null.
function helpValue(name) {
  try {
    var value = helpHost()[name];
    return value === undefined || value === null ? null : String(value);
  } catch (e) {
    return null;
  }
}

function helpCall(name, argument) {
  try {
    var host = helpHost();
    return argument === undefined ? host[name]() : host[name](argument);
  } catch (e) {
    return null;
  }
}

// A "#RRGGBB" colour of the program, or null when it gives none.
function helpColor(number) {
  var color = helpCall("get_color", number);
  return typeof color == "string" && /^#[0-9A-Fa-f]{6}$/.test(color) ? color : null;
}

function helpElementsOfClass(tag, name) {
  var all = document.getElementsByTagName(tag), found = [], i;
  var pattern = new RegExp("(^|\\s)" + name + "(\\s|$)");
  for (i = 0; i < all.length; i++) {
    if (pattern.test(all[i].className)) {
      found[found.length] = all[i];
    }
  }
  return found;
}

function helpPaint(element, background, text) {
  if (background) {
    element.style.backgroundColor = background;
  }
  if (text) {
    element.style.color = text;
  }
}

// Raised edges: highlight at the top and left, shadow at the bottom and right.
function helpEdges(element, light, dark) {
  if (light) {
    element.style.borderTopColor = light;
    element.style.borderLeftColor = light;
  }
  if (dark) {
    element.style.borderBottomColor = dark;
    element.style.borderRightColor = dark;
  }
}

function helpApplyColors() {
  var face = helpColor(HELP_FACE), lightFace = helpColor(HELP_LIGHT_FACE),
      shadow = helpColor(HELP_SHADOW), highlight = helpColor(HELP_HIGHLIGHT),
      text = helpColor(HELP_TEXT), buttonFace = helpColor(HELP_BUTTON_FACE);
  var title = document.getElementById("titlebar"), list, i;
  helpPaint(document.body, face, text);
  if (title) {
    helpPaint(title, shadow, highlight);
  }
  list = helpElementsOfClass("div", "box");
  for (i = 0; i < list.length; i++) {
    helpPaint(list[i], lightFace, text);
    helpEdges(list[i], shadow, shadow);
  }
  list = helpElementsOfClass("*", "boxbutton");
  for (i = 0; i < list.length; i++) {
    helpPaint(list[i], buttonFace, text);
    helpEdges(list[i], highlight, shadow);
  }
}

function helpButton(id, label, disabled, command) {
  return '<input type="button" id="' + id + '" class="boxbutton" value="' + label + '"' +
         (disabled ? ' disabled="disabled"' : "") +
         ' onclick="return helpCommand(\'' + command + '\')">';
}

function helpEscape(text) {
  return text.replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/</g, "&lt;")
             .replace(/>/g, "&gt;");
}

// Prev and Next from the program's step count and current step; without them, from the page.
function helpDrawSteps(page) {
  var nav = document.getElementById("nav");
  var count = parseInt(helpValue("nsteps"), 10), current = parseInt(helpValue("curstep"), 10);
  if (isNaN(count) || count < 1) {
    count = 9;
  }
  if (isNaN(current)) {
    current = page.step - 1;
  }
  if (nav) {
    nav.innerHTML = helpButton("prev", helpEscape(page.prev), current <= 0, "prev_step") +
                    helpButton("next", helpEscape(page.next), current >= count - 1, "next_step");
  }
}

function helpInit(page) {
  helpDrawSteps(page);
  helpApplyColors();
}

// A Control Panel link: run the program's command; false keeps the page where it is.
function helpCommand(name) {
  helpCall(name);
  return false;
}

// A Help Topics link: its page in a pop-up window of the given size, one window per topic.
function helpTopic(link, width, height) {
  var name = link.href.replace(/^.*[\/\\]/, "").replace(/\.[^.]*$/, "").replace(/\W/g, "_");
  var popup = window.open(link.href, name, "width=" + width + ",height=" + height +
                          ",resizable=yes,scrollbars=yes,status=no,toolbar=no,menubar=no," +
                          "location=no");
  if (popup) {
    try {
      popup.focus();
    } catch (e) {
    }
  }
  return false;
}
