// The shift-type link shows the shift-type table over the page; a click on the link or the table
// hides it again. (Plain script: the pages need nothing else.)
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
  link.addEventListener('click', toggle);
  table.addEventListener('click', toggle);
});
