// The shift-type link shows the shift-type table over the page; a click on the link or the table
// hides it again. Without its picture (基本設定 not published) the link is hidden, so that nothing
// opens a missing image. (Plain script: the pages need nothing else.)
document.addEventListener('DOMContentLoaded', function () {
  var link = document.querySelector('#syubetu-link a');
  var table = document.getElementById('syubetu-img');
  if (!link || !table) {
    return;
  }
  function toggle(event) {
    event.preventDefault();
    table.style.display = table.style.display === 'block' ? 'none' : 'block';
  }
  var picture = table.querySelector('img');
  function hideLink() {
    document.getElementById('syubetu-link').style.display = 'none';
  }
  if (picture) {
    if (picture.complete && picture.naturalWidth === 0) {
      hideLink();
    } else {
      picture.addEventListener('error', hideLink);
    }
  }
  link.addEventListener('click', toggle);
  table.addEventListener('click', toggle);
});
